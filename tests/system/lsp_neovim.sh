#!/bin/sh
# A real editor against `scenario lsp`: headless Neovim opens the exported template's line
# description with a board moved past the route's end, must receive the error at that line, and
# none once an edit puts the board back. Skipped (77) without Neovim.
#   lsp_neovim.sh SCENARIO LSP_NEOVIM_LUA
set -u
scenario=$1
script=$2
command -v nvim > /dev/null || { echo "nvim non installato: prova saltata"; exit 77; }
cartella=$(mktemp -d) || exit 1
trap 'rm -rf "$cartella"' EXIT
"$scenario" esporta "$cartella/modello" || exit 1
cp "$cartella/modello/Corvenna_7381-.txt" "$cartella/Rivalta_2024-.txt"
# The fault: the level-crossing board at 2900 m moved to 99500 m, past the 88000 m route.
riga=$(grep -n 'cartello_indicatore,  2900,' "$cartella/modello/Corvenna_linea.txt" | cut -d: -f1)
[ -n "$riga" ] || { echo "riga del cartello non trovata nel modello"; exit 1; }
sed "${riga}s/cartello_indicatore,  2900,/cartello_indicatore,  99500,/" \
    "$cartella/modello/Corvenna_linea.txt" > "$cartella/Rivalta_linea.txt"
SCENARIO=$scenario CARTELLA=$cartella RIGA=$((riga - 1)) HOME=$cartella \
    timeout -k 5 90 nvim --headless --clean -n -c "luafile $script"
