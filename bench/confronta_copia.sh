#!/usr/bin/env bash
# Times the whole genera_scenario process against the floor of a run: a copy of its six output
# files into a fresh directory, made durable as the run makes its files durable (each copied
# file flushed to the storage, then the directory). The two alternate over several rounds, each
# in a fresh directory of its own, so a busy machine slows both alike; the script prints the
# median time of each, the median of the per-round ratios, and the peak memory of one run.
#
#   bench/confronta_copia.sh [rounds] [program]
#
# Defaults: 41 rounds, the Release build build/genera_scenario (cmake --workflow --preset default).
set -euo pipefail
export LC_ALL=C

giri=${1:-41}
programma=$(realpath "${2:-$(dirname "$0")/../build/genera_scenario}")
[[ -x $programma ]] || { echo "no program at $programma: build it first" >&2; exit 1; }

lavoro=$(mktemp -d "${TMPDIR:-/tmp}/confronta_copia.XXXXXX")
trap 'rm -rf "$lavoro"' EXIT

# The program writes into its own directory: each run gets a fresh one with its own copy.
prepara_run() {
    mkdir "$1"
    cp "$programma" "$1/genera_scenario"
}

# One run to find the six files the copy must reproduce.
prepara_run "$lavoro/modello"
"$lavoro/modello/genera_scenario" 2>/dev/null
uscite=()
for f in "$lavoro/modello"/*; do
    [[ $(basename "$f") == genera_scenario ]] || uscite+=("$(basename "$f")")
done
if [[ ${#uscite[@]} -ne 6 ]]; then
    echo "the run left ${#uscite[@]} files, not 6: ${uscite[*]}" >&2
    exit 1
fi
sorgenti=("${uscite[@]/#/$lavoro/modello/}")

adesso() { echo "${EPOCHREALTIME/./}"; }

# The floor: the six files copied, each flushed to the storage (sync with file operands calls
# fsync on each), then the directory that now names them.
copia_durevole() {
    cp -- "${sorgenti[@]}" "$1/"
    sync -- "${uscite[@]/#/$1/}" "$1"
}

tempi_run=()
tempi_copia=()
rapporti=()
for ((i = 0; i < giri; ++i)); do
    cartella_run="$lavoro/run$i"
    cartella_copia="$lavoro/copia$i"
    prepara_run "$cartella_run"
    mkdir "$cartella_copia"
    sync

    # Alternate which of the two goes first, so neither always follows the other.
    if ((i % 2 == 0)); then
        t0=$(adesso); "$cartella_run/genera_scenario" 2>/dev/null; t1=$(adesso)
        copia_durevole "$cartella_copia"; t2=$(adesso)
        run=$((t1 - t0)); copia=$((t2 - t1))
    else
        t0=$(adesso); copia_durevole "$cartella_copia"; t1=$(adesso)
        "$cartella_run/genera_scenario" 2>/dev/null; t2=$(adesso)
        copia=$((t1 - t0)); run=$((t2 - t1))
    fi
    for f in "${uscite[@]}"; do
        cmp -s "$cartella_run/$f" "$lavoro/modello/$f" || { echo "run $i wrote another $f" >&2; exit 1; }
    done
    tempi_run+=("$run")
    tempi_copia+=("$copia")
    rapporti+=("$(awk -v r="$run" -v c="$copia" 'BEGIN { printf "%.4f", r / c }')")
    rm -rf "$cartella_run" "$cartella_copia"
done

mediana() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "rounds:                 $giri"
echo "run, median:            $(awk -v t="$(mediana "${tempi_run[@]}")" 'BEGIN { printf "%.2f ms", t / 1000 }')"
echo "copy floor, median:     $(awk -v t="$(mediana "${tempi_copia[@]}")" 'BEGIN { printf "%.2f ms", t / 1000 }')"
echo "run / copy, median:     $(mediana "${rapporti[@]}")"

if [[ -x /usr/bin/time ]]; then
    prepara_run "$lavoro/memoria"
    picco=$(/usr/bin/time -f '%M' "$lavoro/memoria/genera_scenario" 2>&1 >/dev/null | tail -n 1)
    echo "run, peak resident:     $picco KiB"
fi
