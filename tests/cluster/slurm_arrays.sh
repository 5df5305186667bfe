#!/usr/bin/env bash
# The Slurm recipes of docs/designs.md on a real cluster: a design and a solve,
# each run as a job array of SHARDS tasks and merged, must equal the unsharded run byte for byte
# (the solve CSV except its seconds column). Exits 77 (skipped) with the reason when no Slurm
# controller answers; scripts/slurm-cluster starts a single-node one as root.
# Usage: slurm_arrays.sh TAVRIN_CLI DESIGN.toml [SHARDS]
set -euo pipefail
cli=$(realpath "$1")
design=$(realpath "$2")
shards=${3:-3}

skip() {
    echo "SKIPPED: $*"
    exit 77
}

for tool in sinfo sbatch; do
    command -v "$tool" >/dev/null || skip "$tool is missing (Debian slurm-client)"
done
# Without its configuration file sinfo retries for a minute before it gives up.
conf=${SLURM_CONF:-/etc/slurm/slurm.conf}
[ -f "$conf" ] || skip "no Slurm configuration at $conf; as root run" \
    "'eval \"\$(scripts/slurm-cluster start)\"' first"
if ! status=$(timeout 60 sinfo --noheader --format=%a 2>&1); then
    skip "no Slurm controller answers (sinfo: ${status//$'\n'/ }); as root run" \
        "'eval \"\$(scripts/slurm-cluster start)\"' first"
fi
[[ $status == *up* ]] || skip "the Slurm controller has no partition up (sinfo: $status)"

work=$(mktemp -d)
chmod 755 "$work" # the tasks may run as another user than the daemons
trap 'rm -rf "$work"' EXIT

# Submits the batch script NAME.sbatch as an array of $shards tasks and waits for all of them.
run_array() {
    local name=$1
    if ! sbatch --quiet --wait --array="1-$shards" --job-name="tavrin-$name" --time=10 \
        --chdir="$work" --output="$work/$name-%a.log" "$work/$name.sbatch"; then
        cat "$work/$name"-*.log >&2 || true
        echo "the $name array failed" >&2
        exit 1
    fi
}

# design: shards built by the array, merged, equal to one run.
"$cli" design "$design" --out "$work/single" --jobs 1
cat >"$work/design.sbatch" <<EOF
#!/bin/bash
exec "$cli" design "$design" --out "$work/shard\$SLURM_ARRAY_TASK_ID" \\
    --shard "\$SLURM_ARRAY_TASK_ID/\$SLURM_ARRAY_TASK_COUNT" --jobs 1
EOF
run_array design
"$cli" design --merge --out "$work/merged" "$work"/shard*
diff -r "$work/single" "$work/merged"
echo "design: $shards Slurm tasks merged equal the single run"

if ! "$cli" solve --help 2>/dev/null | grep -q -- "--shard"; then
    skip "the design array passed; $cli has no solve --shard to run as an array"
fi

# solve: the set's instances in shards, merged; equal except the seconds column.
without_seconds() {
    local column
    column=$(head -n 1 "$1" | tr ',' '\n' | grep -n -x seconds | cut -d: -f1)
    cut -d, --complement -f"${column:?no seconds column in $1}" "$1"
}
"$cli" solve "$work/single"/*.rcp --fail-limit 200 --jobs 1 --out "$work/solve.csv"
cat >"$work/solve.sbatch" <<EOF
#!/bin/bash
exec "$cli" solve "$work/single"/*.rcp --fail-limit 200 --jobs 1 \\
    --shard "\$SLURM_ARRAY_TASK_ID/\$SLURM_ARRAY_TASK_COUNT" --out "$work/solve-\$SLURM_ARRAY_TASK_ID.csv"
EOF
run_array solve
"$cli" solve --merge --out "$work/merged.csv" $(seq -f "$work/solve-%g.csv" 1 "$shards")
[ "$(wc -l <"$work/solve.csv")" -gt 1 ] || {
    echo "the solve CSV has no rows" >&2
    exit 1
}
diff <(without_seconds "$work/solve.csv") <(without_seconds "$work/merged.csv")
echo "solve: $shards Slurm tasks merged equal the single run except seconds"
