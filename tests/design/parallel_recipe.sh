#!/usr/bin/env bash
# The GNU parallel recipe of docs/designs.md: shards built under parallel and merged must equal
# a single run byte for byte, and the merged set must verify.
# Usage: parallel_recipe.sh TAVRIN_CLI DESIGN.toml [SHARDS]
set -euo pipefail
cli=$1
design=$2
shards=${3:-3}
if ! "$cli" design --help 2>/dev/null | grep -q -- "--shard"; then
    echo "$cli has no design subcommand" >&2
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cli" design "$design" --out "$work/single" --jobs 1
seq 1 "$shards" | parallel --will-cite --halt now,fail=1 \
    "$cli" design "$design" --out "$work/shard{}" --shard "{}/$shards" --jobs 1
"$cli" design --merge --out "$work/merged" "$work"/shard*
diff -r "$work/single" "$work/merged"
for file in "$work/single"/*; do
    cmp "$file" "$work/merged/${file##*/}"
done
"$cli" design --verify "$work/merged"
echo "parallel recipe: $shards shards merged equal the single run"
