#include "solve/activity_lists.h"

#include <algorithm>
#include <numeric>

namespace tavrin::solve {

std::vector<int> listOfSchedule(const Project& project, const std::vector<int>& start) {
    std::vector<int> rank(project.jobCount);
    for (int i = 0; i < project.jobCount; ++i) {
        rank[project.order[i]] = i;
    }
    std::vector<int> list(project.jobCount);
    std::iota(list.begin(), list.end(), 0);
    std::sort(list.begin(), list.end(), [&](int a, int b) {
        return start[a] != start[b] ? start[a] < start[b] : rank[a] < rank[b];
    });
    return list;
}

std::vector<int> crossover(const std::vector<int>& mother, const std::vector<int>& father,
                           int first, int second) {
    std::vector<char> taken(mother.size(), 0);
    std::vector<int> child;
    child.reserve(mother.size());
    auto take = [&](int job) {
        if (taken[job] == 0) {
            taken[job] = 1;
            child.push_back(job);
        }
    };
    for (int i = 0; i < first; ++i) {
        take(mother[i]);
    }
    for (std::size_t i = 0; i < father.size() && static_cast<int>(child.size()) < second; ++i) {
        take(father[i]);
    }
    for (int job : mother) {
        take(job);
    }
    return child;
}

void mutate(const Project& project, std::vector<int>& list, SampleRandom& random, double rate) {
    for (std::size_t i = 0; i + 1 < list.size(); ++i) {
        if (random.unit() >= rate) {
            continue;
        }
        const auto& next = project.successors[list[i]];
        if (std::find(next.begin(), next.end(), list[i + 1]) == next.end()) {
            std::swap(list[i], list[i + 1]);
        }
    }
}

void shiftJob(const Project& project, std::vector<int>& list, SampleRandom& random) {
    const std::vector<int> position = listPriority(list);
    const auto from = static_cast<std::ptrdiff_t>(random.next() % list.size());
    const int job = list[static_cast<std::size_t>(from)];
    int low = 0;
    int high = static_cast<int>(list.size()) - 1;
    for (int before : project.predecessors[job]) {
        low = std::max(low, position[before] + 1);
    }
    for (int after : project.successors[job]) {
        high = std::min(high, position[after] - 1);
    }
    if (high <= low) {
        return;
    }
    // Taken out first, the job lands after the one at `to`, still before its first successor.
    const auto to =
        low
        + static_cast<std::ptrdiff_t>(random.next() % static_cast<std::uint64_t>(high - low + 1));
    list.erase(list.begin() + from);
    list.insert(
        list.begin() + std::min<std::ptrdiff_t>(to, static_cast<std::ptrdiff_t>(list.size())), job);
}

std::vector<int> listPriority(const std::vector<int>& list) {
    std::vector<int> position(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        position[list[i]] = static_cast<int>(i);
    }
    return position;
}

} // namespace tavrin::solve
