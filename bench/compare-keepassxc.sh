#!/usr/bin/env bash
# Compares the store with Debian's keepassxc-cli on the same generated records.
#
#   bench/compare-keepassxc.sh [SIZES] [BUILD_DIR]
#
# SIZES is a comma-separated list of record counts (default 10000); BUILD_DIR a
# Release build of ours (default build-bench in the source tree; configured and
# built when store_bench is missing). STORE_BENCH may name the executable instead.
#
# keepassxc-cli is timed as whole processes: listing every entry (ls -R -f) and
# an open-modify-save (edit of one entry's user name). Process start-up and key
# derivation are the same whatever the number of entries, so the same commands
# on a one-entry database give a baseline that is subtracted (the *_net_ms
# figures). Its key derivation is left at the CLI's default, AES-KDF with
# 1,000,000 rounds, the cheapest it offers (--decryption-time starts at 100 ms).
# Ours are store_bench's in-process figures with the key derivation excluded.
set -euo pipefail

sizes=${1:-10000}
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/.." && pwd)
# Own HOME, XDG folders and TMPDIR, so neither program touches the user's files.
if [ -z "${VELLUMOR_ISOLATED:-}" ]; then
    VELLUMOR_ISOLATED=1 exec "$source_dir/tests/run-isolated.sh" "$here/compare-keepassxc.sh" "$@"
fi
build_dir=${2:-$source_dir/build-bench}
bench=${STORE_BENCH:-$build_dir/bench/store_bench}
password='compare: correct horse battery staple'

if ! command -v keepassxc-cli >/dev/null 2>&1; then
    echo "keepassxc-cli is missing; installing Debian's keepassxc" >&2
    DEBIAN_FRONTEND=noninteractive apt-get install -y keepassxc >&2
fi
if [ ! -x "$bench" ]; then
    cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >&2
    cmake --build "$build_dir" --target store_bench >&2
fi

# Scratch files for both programs.
root=$(mktemp -d "${TMPDIR:-/tmp}/vellumor-compare.XXXXXX")
trap 'rm -rf "$root"' EXIT INT TERM
mkdir -p "$root/work"
work=$root/work

now_ns() { date +%s%N; }

# Median of the numbers on stdin.
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# ms_of CMD...: wall time of one run in milliseconds, the password on its stdin.
ms_of() {
    local start end
    start=$(now_ns)
    printf '%s\n' "$password" | "$@" >/dev/null
    end=$(now_ns)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f\n", (b - a) / 1e6 }'
}

# A KeePassXC database of n of our generated records.
make_kdbx() {
    local n=$1 db=$2
    "$bench" --write-xml "$n" "$work/records-$n.xml"
    printf '%s\n%s\n' "$password" "$password" |
        keepassxc-cli import -q -p "$work/records-$n.xml" "$db" >/dev/null
}

# The first entry (not group) listed; reads everything, so no writer sees a closed pipe.
first_entry() {
    printf '%s\n' "$password" | keepassxc-cli ls -q -R -f "$1" |
        awk '!/\/$/ && !found { print; found = 1 }'
}

# time_list DB RUNS and time_edit DB ENTRY RUNS print the median in ms.
time_list() {
    local i
    for ((i = 0; i < $2; i++)); do ms_of keepassxc-cli ls -q -R -f "$1"; done | median
}
time_edit() {
    local i
    for ((i = 0; i < $3; i++)); do
        ms_of keepassxc-cli edit -q -u "bench-user-$i" "$1" "$2"
    done | median
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.3f\n", a / b; else print "n/a" }'; }
field() { tr ' ' '\n' | sed -n "s/^$1=//p"; }

echo "keepassxc_cli_version=$(keepassxc-cli --version)"
baseline_db=$work/baseline.kdbx
make_kdbx 1 "$baseline_db"
baseline_entry=$(first_entry "$baseline_db")
rounds=$(printf '%s\n' "$password" | keepassxc-cli db-info -q "$baseline_db" |
         sed -n 's/^KDF: AES (\([0-9]*\) rounds)$/\1/p')
echo "theirs_kdf=aes theirs_kdf_rounds=${rounds:-unknown}"

status=0
for n in ${sizes//,/ }; do
    runs=5
    [ "$n" -ge 100000 ] && runs=3
    db=$work/records-$n.kdbx
    start=$(now_ns)
    make_kdbx "$n" "$db"
    import_ms=$(awk -v a="$start" -v b="$(now_ns)" 'BEGIN { printf "%.2f\n", (b - a) / 1e6 }')
    entry=$(first_entry "$db")
    if [ -z "$entry" ] || [ -z "$baseline_entry" ]; then
        echo "compare-keepassxc: no entry to edit in the database of $n records" >&2
        status=1
        continue
    fi

    list_ms=$(time_list "$db" "$runs")
    list_base_ms=$(time_list "$baseline_db" "$runs")
    edit_ms=$(time_edit "$db" "$entry" "$runs")
    edit_base_ms=$(time_edit "$baseline_db" "$baseline_entry" "$runs")
    list_net=$(awk -v a="$list_ms" -v b="$list_base_ms" 'BEGIN { printf "%.2f\n", a - b }')
    edit_net=$(awk -v a="$edit_ms" -v b="$edit_base_ms" 'BEGIN { printf "%.2f\n", a - b }')
    their_bytes=$(stat -c %s "$db")

    ours=$("$bench" --sizes "$n" | grep "^records=$n ")
    open_ms=$(field open_ms <<<"$ours")
    save_ms=$(field save_ms <<<"$ours")
    our_bytes=$(field file_bytes <<<"$ours")
    open_save=$(awk -v a="$open_ms" -v b="$save_ms" 'BEGIN { printf "%.2f\n", a + b }')

    echo "records=$n theirs_import_ms=$import_ms theirs_list_ms=$list_ms" \
         "theirs_list_baseline_ms=$list_base_ms theirs_list_net_ms=$list_net" \
         "theirs_edit_ms=$edit_ms theirs_edit_baseline_ms=$edit_base_ms" \
         "theirs_edit_net_ms=$edit_net theirs_file_bytes=$their_bytes"
    echo "records=$n ours_open_ms=$open_ms ours_save_ms=$save_ms ours_open_save_ms=$open_save" \
         "ours_file_bytes=$our_bytes"
    echo "records=$n ratio_open_vs_list_net=$(ratio "$open_ms" "$list_net")" \
         "ratio_open_save_vs_edit_net=$(ratio "$open_save" "$edit_net")" \
         "ratio_open_vs_list_gross=$(ratio "$open_ms" "$list_ms")" \
         "ratio_open_save_vs_edit_gross=$(ratio "$open_save" "$edit_ms")" \
         "ratio_file_bytes=$(ratio "$our_bytes" "$their_bytes")"
done
exit "$status"
