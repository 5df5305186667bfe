#include "design/design_manifest.h"

#include <nlohmann/json.hpp>
#include <stdexcept>

namespace tavrin::design {

std::string programVersion() {
    return TAVRIN_VERSION;
}

std::string writeManifest(const Manifest& manifest) {
    nlohmann::ordered_json json;
    json["program"] = manifest.program;
    json["version"] = manifest.version;
    json["design_name"] = manifest.designName;
    json["design"] = manifest.designText;
    json["shard"] = {{"index", manifest.shardIndex}, {"count", manifest.shardCount}};
    json["cells"] = manifest.cells;
    json["cells_done"] = manifest.cellsDone;
    json["files"] = manifest.files;
    json["complete"] = manifest.complete;
    json["index_sha256"] = manifest.indexSha256;
    return json.dump(2) + "\n";
}

Manifest readManifest(std::string_view text) {
    try {
        const nlohmann::json json = nlohmann::json::parse(text);
        Manifest manifest;
        manifest.program = json.at("program").get<std::string>();
        manifest.version = json.at("version").get<std::string>();
        manifest.designName = json.at("design_name").get<std::string>();
        manifest.designText = json.at("design").get<std::string>();
        manifest.shardIndex = json.at("shard").at("index").get<int>();
        manifest.shardCount = json.at("shard").at("count").get<int>();
        manifest.cells = json.at("cells").get<int>();
        manifest.cellsDone = json.at("cells_done").get<int>();
        manifest.files = json.at("files").get<std::int64_t>();
        manifest.complete = json.at("complete").get<bool>();
        manifest.indexSha256 = json.at("index_sha256").get<std::string>();
        return manifest;
    } catch (const nlohmann::json::exception& e) {
        throw std::runtime_error(std::string("not a design manifest: ") + e.what());
    }
}

} // namespace tavrin::design
