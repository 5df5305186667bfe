#!/usr/bin/env bash
# Runs every command in the code blocks of README.md and docs/*.md as written, each document in a
# fresh folder holding a copy of docs/designs, with tavrin-cli on PATH and at build/release/cli.
# Synopses (FILE, DIR, [...], ...) and job scripts ($VARIABLES) are not commands and are skipped.
# To stay cheap, the 300-activity example design is cut to 30 activities in the copy.
# Usage: docs_commands.sh TAVRIN_CLI SOURCE_DIR
set -euo pipefail
cli=$(realpath "$1")
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"
ln -s "$cli" "$work/bin/tavrin-cli"
export PATH="$work/bin:$PATH"

# The commands of one document: lines of fenced blocks, continuations joined.
commands() {
    awk '
        /^```/ { block = !block; next }
        !block { next }
        { line = (pending != "" ? pending " " : "") $0 }
        /\\$/ { sub(/\\$/, "", line); pending = line; next }
        { pending = "" }
        line ~ /^(tavrin-cli|build\/release\/cli\/tavrin-cli|seq) / &&
            line !~ /FILE|DIR|\[|\.\.\.|\$|#/ { print line }
    ' "$1"
}

count=0
for doc in "$source/README.md" "$source"/docs/*.md; do
    dir="$work/$(basename "$doc" .md)"
    mkdir -p "$dir/docs/designs" "$dir/build/release/cli"
    ln -s "$cli" "$dir/build/release/cli/tavrin-cli"
    cp "$source"/docs/designs/*.toml "$dir/docs/designs/"
    sed -i 's/^activities = \[300\]/activities = [30]/' "$dir/docs/designs/order-strength-300.toml"
    while IFS= read -r command; do
        if ! (cd "$dir" && bash -c "$command") >"$work/log" 2>&1 </dev/null; then
            echo "${doc#"$source"/}: failed: $command" >&2
            tail -5 "$work/log" >&2
            exit 1
        fi
        count=$((count + 1))
    done < <(commands "$doc")
done
echo "$count documented commands ran as written"
