#!/usr/bin/env python3
"""Every console example of README.md and docs/*.md run against the built programs.

A fenced block tagged `console` holds commands and their output. A line that starts with "$ " is
a command, run by bash; the lines after it, up to the next command or the end of the block, are
what it prints (standard output, then standard error). A last line "[uscita N]" is its exit
status when it is not 0; a line that is only "..." stands for any number of lines. The blocks of
one file run in order in one fresh temporary directory, with `scenario` and `genera_scenario` on
PATH. A failing example is named by its file and line, with the difference. With --aggiorna, the
expected lines of a failing example that holds no "..." are replaced in the document by what the
programs print, for an author to review with git diff."""

import argparse
import difflib
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

INIZIO_BLOCCO = re.compile(r"^\s*```+\s*console\s*$")
FINE_BLOCCO = re.compile(r"^\s*```+\s*$")
USCITA = re.compile(r"^\[uscita (\d+)\]$")
TEMPO_MASSIMO_S = 120


class Esempio:
    def __init__(self, riga, comando):
        self.riga = riga
        self.comando = comando
        self.attese = []


def esempi_del_file(percorso):
    """The commands of every console block of the file, in order, each with its line."""
    esempi = []
    nel_blocco = False
    corrente = None
    righe = percorso.read_text(encoding="utf-8").splitlines()
    for numero, riga in enumerate(righe, start=1):
        if not nel_blocco:
            nel_blocco = bool(INIZIO_BLOCCO.match(riga))
            corrente = None
            continue
        if FINE_BLOCCO.match(riga):
            nel_blocco = False
            continue
        if riga.startswith("$ "):
            corrente = Esempio(numero, riga[2:])
            esempi.append(corrente)
        elif corrente is not None:
            corrente.attese.append(riga)
        else:
            raise SystemExit(f"{percorso}:{numero}: una riga di output prima di ogni comando")
    return esempi


def corrisponde(attese, righe):
    """True when the lines match the expected ones, "..." matching any number of lines."""
    # memo[i][j]: attese[i:] matches righe[j:].
    memo = {}

    def da(i, j):
        if (i, j) in memo:
            return memo[(i, j)]
        if i == len(attese):
            esito = j == len(righe)
        elif attese[i] == "...":
            esito = any(da(i + 1, k) for k in range(j, len(righe) + 1))
        else:
            esito = j < len(righe) and attese[i] == righe[j] and da(i + 1, j + 1)
        memo[(i, j)] = esito
        return esito

    return da(0, 0)


def testo(dati):
    return dati.decode("utf-8", errors="replace").splitlines()


def aggiorna_file(percorso, nuove):
    """Writes each example's new expected lines in place of its old ones."""
    righe = percorso.read_text(encoding="utf-8").split("\n")
    for e, ottenute in sorted(nuove, key=lambda n: -n[0].riga):
        righe[e.riga:e.riga + len(e.attese)] = ottenute
    percorso.write_text("\n".join(righe), encoding="utf-8")


def prova_file(percorso, radice, ambiente, aggiorna=False):
    """Runs the file's examples; returns the failures, each a message."""
    esempi = esempi_del_file(percorso)
    if not esempi:
        return []
    nome = percorso.relative_to(radice) if percorso.is_relative_to(radice) else percorso
    guasti = []
    nuove = []
    with tempfile.TemporaryDirectory(prefix="esempi_") as cartella:
        for e in esempi:
            attese = list(e.attese)
            stato_atteso = 0
            if attese and USCITA.match(attese[-1]):
                stato_atteso = int(USCITA.match(attese.pop()).group(1))
            try:
                r = subprocess.run(["bash", "-c", e.comando], cwd=cartella, env=ambiente,
                                   capture_output=True, timeout=TEMPO_MASSIMO_S)
            except subprocess.TimeoutExpired:
                guasti.append(f"{nome}:{e.riga}: $ {e.comando}\n  non finisce in "
                              f"{TEMPO_MASSIMO_S} s")
                continue
            righe = testo(r.stdout) + testo(r.stderr)
            problemi = []
            if r.returncode != stato_atteso:
                problemi.append(f"  stato di uscita {r.returncode}, atteso {stato_atteso}")
            if not corrisponde(attese, righe):
                differenza = difflib.unified_diff(attese, righe, "atteso", "ottenuto",
                                                  lineterm="")
                problemi.append("\n".join("  " + d for d in differenza))
            if problemi:
                guasti.append(f"{nome}:{e.riga}: $ {e.comando}\n" + "\n".join(problemi))
                if aggiorna and "..." not in e.attese:
                    stato = [f"[uscita {r.returncode}]"] if r.returncode else []
                    nuove.append((e, righe + stato))
    if nuove:
        aggiorna_file(percorso, nuove)
    print(f"{nome}: {len(esempi)} comandi, {len(guasti)} diversi", flush=True)
    return guasti


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--scenario", required=True)
    p.add_argument("--genera", required=True)
    p.add_argument("--radice", required=True, help="the project's folder: README.md and docs/")
    p.add_argument("--aggiorna", action="store_true",
                   help="write what the programs print as the expected output of failing examples")
    p.add_argument("file", nargs="*", help="only these documents")
    a = p.parse_args()
    radice = pathlib.Path(a.radice).resolve()
    documenti = [pathlib.Path(f).resolve() for f in a.file] or \
        [radice / "README.md", *sorted((radice / "docs").glob("*.md"))]

    with tempfile.TemporaryDirectory(prefix="esempi_programmi_") as programmi:
        # Copies, not links: genera_scenario writes beside its own executable.
        for sorgente, nome in ((a.scenario, "scenario"), (a.genera, "genera_scenario")):
            shutil.copy2(sorgente, pathlib.Path(programmi) / nome)
        ambiente = dict(os.environ)
        ambiente["PATH"] = programmi + os.pathsep + ambiente.get("PATH", "")
        ambiente["LC_ALL"] = "C.UTF-8"
        guasti = []
        for d in documenti:
            guasti += prova_file(d, radice, ambiente, a.aggiorna)
    for g in guasti:
        print(g, file=sys.stderr)
    if guasti:
        sys.exit(f"{len(guasti)} esempi non danno l'output scritto")


if __name__ == "__main__":
    main()
