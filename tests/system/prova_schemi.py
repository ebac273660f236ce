#!/usr/bin/env python3
"""The JSON of `scenario ispeziona` and `scenario confronta` checked against the schemas in
docs/schemi/: the built-in scenario (compiled, and as its descriptions), a query's answers, and
the small fixture of tests/system/dati; the dry run of `scenario marcia` with each named model
(and the model it used against the model file's schema); then confronta on an edit of the
fixture."""

import argparse
import json
import pathlib
import shutil
import subprocess
import sys
import tempfile

import jsonschema


def esegui(programma, argomenti, cartella, stati=(0,)):
    r = subprocess.run([programma, *argomenti], cwd=cartella, capture_output=True)
    if r.returncode not in stati:
        sys.exit(f"{argomenti}: stato {r.returncode}: {r.stderr.decode(errors='replace')}")
    return json.loads(r.stdout)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--scenario", required=True)
    p.add_argument("--dati", required=True)
    p.add_argument("--schemi", required=True)
    a = p.parse_args()
    schemi = pathlib.Path(a.schemi)
    ispeziona = json.loads((schemi / "ispeziona.schema.json").read_text())
    confronta = json.loads((schemi / "confronta.schema.json").read_text())
    jsonschema.Draft202012Validator.check_schema(ispeziona)
    jsonschema.Draft202012Validator.check_schema(confronta)

    with tempfile.TemporaryDirectory() as t:
        lavoro = pathlib.Path(t)
        subprocess.run([a.scenario, "esporta", "modello"], cwd=lavoro, check=True)
        descrizioni = ["modello/Corvenna_linea.txt", "modello/Corvenna_7381-.txt"]
        subprocess.run([a.scenario, "compila", *descrizioni, "-o", "compilato"], cwd=lavoro,
                       check=True, capture_output=True)
        for nome in ("Prova_linea.txt", "Prova_0042-.txt"):
            shutil.copy(pathlib.Path(a.dati) / nome, lavoro / nome)
        prova = ["Prova_linea.txt", "Prova_0042-.txt"]

        casi = {
            "scenario compilato": ["ispeziona", "compilato"],
            "descrizioni": ["ispeziona", *descrizioni],
            "domanda": ["ispeziona", "compilato", "--da", "41000", "--a", "42500",
                        "--formato", "json"],
            "chilometro": ["ispeziona", *descrizioni, "--al-km", "5+000", "--formato", "json"],
            "fixture": ["ispeziona", *prova],
        }
        for nome, argomenti in casi.items():
            documento = esegui(a.scenario, argomenti, lavoro)
            jsonschema.validate(documento, ispeziona)
            print(f"ok: {nome}")

        marcia = json.loads((schemi / "marcia.schema.json").read_text())
        modello = json.loads((schemi / "marcia_modello.schema.json").read_text())
        jsonschema.Draft202012Validator.check_schema(marcia)
        jsonschema.Draft202012Validator.check_schema(modello)
        for nome in ("locomotiva", "regionale", "merci"):
            for argomenti in (["marcia", *descrizioni], ["marcia", "compilato"]):
                documento = esegui(a.scenario, [*argomenti, "--modello", nome, "--formato",
                                                "json"], lavoro)
                jsonschema.validate(documento, marcia)
                jsonschema.validate(documento["modello"], modello)
            print(f"ok: marcia {nome}")
        documento = esegui(a.scenario, ["marcia", *prova, "--formato", "json"], lavoro)
        jsonschema.validate(documento, marcia)
        print("ok: marcia fixture")

        modificata = lavoro / "modificata"
        modificata.mkdir()
        for nome in prova:
            testo = (lavoro / nome).read_text(encoding="utf-8")
            (modificata / nome).write_text(testo.replace("segnale,  3600,", "segnale,  3700,"),
                                           encoding="utf-8")
        uguali = esegui(a.scenario, ["confronta", *prova, *prova, "--formato", "json"], lavoro)
        jsonschema.validate(uguali, confronta)
        assert uguali == {"uguali": True, "modifiche": []}, uguali
        diversi = esegui(a.scenario, ["confronta", *prova, *[f"modificata/{n}" for n in prova],
                                      "--formato", "json"], lavoro, stati=(1,))
        jsonschema.validate(diversi, confronta)
        assert [m["gruppo"] for m in diversi["modifiche"]] == ["segnale"], diversi
        print("ok: confronta")


if __name__ == "__main__":
    main()
