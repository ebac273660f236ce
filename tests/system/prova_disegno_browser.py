#!/usr/bin/env python3
"""The page of `scenario disegna` checked in a real browser, as a person would look at it.

For the built-in scenario (the files `genera_scenario` writes) and for a small fixture (the
descriptions in dati/, compiled by `scenario compila`), the test makes the page with
`scenario disegna`, opens it in headless Chromium at 1366x768 through the DevTools protocol on
a pipe, and fails on any console error, uncaught exception, failed request or request for
anything but the page itself. In the DOM it checks one marker per station, signal and board of
the compiled files, the plan's track against the plan view's extent, and the distance axis
against the route; it points at a station to see its tooltip, reloads the page without script
to see the markers still there, and saves a screenshot of each page (the window, and the whole
page) in the artefacts directory.

The expected values come from the compiled files themselves, read here with a small decoder of
their layout, and from the description rows: nothing is taken from the page's own code.

Exit status: 0 passed, 1 failed, 77 skipped (Chromium cannot start at all).
"""

import argparse
import base64
import fcntl
import json
import os
import select
import shutil
import struct
import subprocess
import sys
import tempfile
import time

SALTA = 77
LARGHEZZA, ALTEZZA = 1366, 768


class Errore(Exception):
    pass


# --- The compiled files, decoded independently of the program. ---------------------------------

def leggi_planimetria(percorso):
    """The plan view as (x, y) per metre, None where an element is empty."""
    dati = open(percorso, "rb").read()
    valori, i = [], 0
    while i < len(dati):
        (etichetta,) = struct.unpack_from("<h", dati, i)
        i += 2
        if etichetta == 0:
            valori.append(None)
        elif etichetta == 2:
            valori.append(float(struct.unpack_from("<h", dati, i)[0]))
            i += 2
        elif etichetta == 5:
            valori.append(struct.unpack_from("<d", dati, i)[0])
            i += 8
        else:
            raise Errore(f"{percorso}: byte {i - 2}: etichetta {etichetta}")
    n = len(valori) // 2
    return list(zip(valori[:n], valori[n:]))


def leggi_voci(percorso):
    dati = open(percorso, "rb").read()
    voci, i = [], 0
    for _ in range(87):
        tipo, inizio, fine, posizione, b1 = struct.unpack_from("<BiiiB", dati, i)
        i += 14
        (lunghezza,) = struct.unpack_from("<h", dati, i)
        i += 2
        nome = dati[i:i + lunghezza].decode("cp1252")
        i += lunghezza
        i += 10 + 4 + 4  # i1..i5, b4 b5 b3 b2, orario
        voci.append({"tipo": tipo, "inizio": inizio, "fine": fine, "posizione": posizione,
                     "nome": nome})
    if i != len(dati):
        raise Errore(f"{percorso}: {len(dati) - i} byte oltre le 87 voci")
    return voci


def leggi_celle(percorso):
    dati = open(percorso, "rb").read()
    if len(dati) % 15:
        raise Errore(f"{percorso}: {len(dati)} byte, non un multiplo di 15")
    return [dati[k] for k in range(0, len(dati), 15)]  # the kind of each cell


def righe_con(percorso, parola):
    with open(percorso, "rb") as f:
        return sum(1 for r in f.read().split(b"\r\n") if r.strip().startswith(parola))


def attesi(cartella, nome, treno, linea_txt, treno_txt):
    """What the page must show, from the compiled files and the descriptions."""
    tipi = leggi_celle(os.path.join(cartella, f"{nome}_{treno}.dat"))
    voci = leggi_voci(os.path.join(cartella, f"{nome}_{treno}.sim"))
    piano = [p for p in leggi_planimetria(os.path.join(cartella, f"{nome}_linea.dat"))
             if p[0] is not None and p[1] is not None]
    a = {
        "stazioni": righe_con(treno_txt, b"stazione"),
        "segnali": tipi.count(1),
        "cartelli": tipi.count(6) + tipi.count(14),
        "lunghezza": voci[84]["fine"],
        "x_min": min(p[0] for p in piano), "x_max": max(p[0] for p in piano),
        "y_min": min(p[1] for p in piano), "y_max": max(p[1] for p in piano),
        "nomi": [],
    }
    # Each description row gives one cell of its kind.
    if a["segnali"] != righe_con(treno_txt, b"segnale"):
        raise Errore("le celle dei segnali non corrispondono alle righe della descrizione")
    cartelli = righe_con(linea_txt, b"indicatori_v") + righe_con(linea_txt, b"cartello")
    if a["cartelli"] != cartelli:
        raise Errore("le celle dei cartelli non corrispondono alle righe della descrizione")
    a["nomi"] = [voci[j]["nome"] for j in range(1, a["stazioni"] + 1)]
    return a


# --- Chromium through the DevTools protocol on a pipe. -----------------------------------------

class Navigatore:
    def __init__(self, chromium, cartella):
        self.registro = open(os.path.join(cartella, "chromium.log"), "wb")
        # Chromium reads the protocol from its descriptor 3 and writes to 4. The child's ends
        # are first moved above 9, so that putting one on 3 or 4 cannot overwrite the other;
        # every other descriptor of this script is closed on exec.
        da_noi_r, da_noi_w = os.pipe()
        a_noi_r, a_noi_w = os.pipe()
        r = fcntl.fcntl(da_noi_r, fcntl.F_DUPFD_CLOEXEC, 10)
        w = fcntl.fcntl(a_noi_w, fcntl.F_DUPFD_CLOEXEC, 10)
        os.close(da_noi_r)
        os.close(a_noi_w)
        argomenti = [
            chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
            "--no-first-run", "--disable-background-networking", "--disable-component-update",
            "--disable-sync", "--disable-extensions", "--hide-scrollbars",
            "--remote-debugging-pipe", f"--user-data-dir={os.path.join(cartella, 'profilo')}",
            f"--window-size={LARGHEZZA},{ALTEZZA}", "about:blank",
        ]

        def prepara():
            os.dup2(r, 3)
            os.dup2(w, 4)

        try:
            self.processo = subprocess.Popen(argomenti, stdin=subprocess.DEVNULL,
                                             stdout=self.registro, stderr=self.registro,
                                             close_fds=False, preexec_fn=prepara)
        finally:
            os.close(r)
            os.close(w)
        self.scrivi, self.leggi = da_noi_w, a_noi_r
        self.resto = b""
        self.numero = 0
        self.eventi = []
        self.sessione = None

    def invia(self, metodo, parametri=None, sessione=True, attesa=30):
        self.numero += 1
        messaggio = {"id": self.numero, "method": metodo, "params": parametri or {}}
        if sessione and self.sessione:
            messaggio["sessionId"] = self.sessione
        os.write(self.scrivi, json.dumps(messaggio).encode() + b"\0")
        numero = self.numero
        limite = time.monotonic() + attesa
        while True:
            for m in self._messaggi(limite):
                if m.get("id") == numero:
                    if "error" in m:
                        raise Errore(f"{metodo}: {m['error']}")
                    return m.get("result", {})
                self.eventi.append(m)

    def _messaggi(self, limite):
        resto = limite - time.monotonic()
        if resto <= 0:
            raise Errore("Chromium non risponde")
        pronti, _, _ = select.select([self.leggi], [], [], resto)
        if not pronti:
            raise Errore("Chromium non risponde")
        blocco = os.read(self.leggi, 1 << 20)
        if not blocco:
            raise Errore("Chromium si e' chiuso")
        self.resto += blocco
        *completi, self.resto = self.resto.split(b"\0")
        return [json.loads(c) for c in completi]

    def attendi_evento(self, metodo, attesa=30):
        limite = time.monotonic() + attesa
        while True:
            for i, m in enumerate(self.eventi):
                if m.get("method") == metodo:
                    return self.eventi.pop(i)
            self.eventi.extend(self._messaggi(limite))

    def raccogli(self, secondi):
        limite = time.monotonic() + secondi
        while time.monotonic() < limite:
            pronti, _, _ = select.select([self.leggi], [], [], max(limite - time.monotonic(), 0))
            if pronti:
                self.eventi.extend(self._messaggi(limite + 1))

    def apri_scheda(self):
        bersaglio = self.invia("Target.createTarget", {"url": "about:blank"}, sessione=False)
        self.sessione = self.invia("Target.attachToTarget",
                                   {"targetId": bersaglio["targetId"], "flatten": True},
                                   sessione=False)["sessionId"]
        for dominio in ("Page", "Runtime", "Log", "Network"):
            self.invia(f"{dominio}.enable")
        self.invia("Emulation.setDeviceMetricsOverride",
                   {"width": LARGHEZZA, "height": ALTEZZA, "deviceScaleFactor": 1,
                    "mobile": False})

    def valuta(self, espressione):
        r = self.invia("Runtime.evaluate", {"expression": espressione, "returnByValue": True})
        if "exceptionDetails" in r:
            raise Errore(f"valutazione fallita: {r['exceptionDetails']}")
        return r["result"].get("value")

    def chiudi(self):
        try:
            self.processo.terminate()
            self.processo.wait(10)
        except Exception:
            self.processo.kill()
        os.close(self.scrivi)
        os.close(self.leggi)
        self.registro.close()


def problemi_pagina(eventi, url):
    """Console errors, exceptions, failed or foreign requests among the events."""
    problemi = []
    for m in eventi:
        metodo, p = m.get("method"), m.get("params", {})
        if metodo == "Runtime.consoleAPICalled" and p.get("type") in ("error", "assert"):
            testo = " ".join(str(a.get("value", a.get("description", ""))) for a in p["args"])
            problemi.append(f"console: {testo}")
        elif metodo == "Runtime.exceptionThrown":
            problemi.append(f"eccezione: {p['exceptionDetails'].get('text')}")
        elif metodo == "Log.entryAdded" and p["entry"].get("level") == "error":
            problemi.append(f"registro: {p['entry'].get('text')}")
        elif metodo == "Network.loadingFailed":
            problemi.append(f"richiesta fallita: {p.get('errorText')}")
        elif metodo == "Network.requestWillBeSent":
            richiesto = p["request"]["url"]
            if richiesto != url and not richiesto.startswith("data:"):
                problemi.append(f"richiesta esterna: {richiesto}")
    return problemi


MISURE = r"""
(() => {
  const n = s => document.querySelectorAll(s).length;
  const traccia = document.querySelector('#svg-planimetria g.traccia');
  let box = null;
  for (const p of document.querySelectorAll('#svg-planimetria polyline.binario, #svg-planimetria polyline.oltre')) {
    const b = p.getBBox();
    box = box ? {x1: Math.min(box.x1, b.x), y1: Math.min(box.y1, b.y),
                 x2: Math.max(box.x2, b.x + b.width), y2: Math.max(box.y2, b.y + b.height)}
              : {x1: b.x, y1: b.y, x2: b.x + b.width, y2: b.y + b.height};
  }
  const asse = document.querySelector('#svg-profilo .asse-distanza');
  const linea = asse.querySelector('line.asse');
  const punti = p => { const l = document.querySelector(p).points;
                       return l.length ? [l[0].x, l[l.length - 1].x] : null; };
  const tacche = [...asse.querySelectorAll('text.valore')].map(t => Number(t.textContent.replace(',', '.')));
  const ultima = document.querySelectorAll('#svg-profilo g.stazione');
  const stazione = ultima[ultima.length - 1];
  return {
    stazioni_piano: n('#svg-planimetria .stazione'), stazioni_profilo: n('#svg-profilo .stazione'),
    righe_orario: n('#orario tr.riga-stazione'),
    segnali_piano: n('#svg-planimetria .segnale'), segnali_profilo: n('#svg-profilo .segnale'),
    cartelli: n('#svg-profilo .cartello'), titoli: n('.marcatore > title'),
    nomi: [...document.querySelectorAll('#svg-planimetria .stazione .nome')].map(t => t.textContent),
    numeri: ['numero-stazioni', 'numero-segnali', 'numero-cartelli'].map(i => Number(document.getElementById(i).textContent)),
    lunghezza: Number(document.getElementById('lunghezza-percorso').dataset.metri),
    traccia: traccia && {scala: Number(traccia.dataset.scala), x0: Number(traccia.dataset.x0),
                         y0: Number(traccia.dataset.y0), tolleranza: Number(traccia.dataset.tolleranzaM), box},
    asse: {inizio: Number(asse.dataset.inizioM), fine: Number(asse.dataset.fineM),
           x1: Number(asse.dataset.xInizio), x2: Number(asse.dataset.xFine),
           linea: [linea.x1.baseVal.value, linea.x2.baseVal.value], tacche},
    velocita: punti('#svg-profilo polyline.velocita-linea'),
    pendenza: punti('#svg-profilo polyline.pendenza'),
    stazione_finale: {km: Number(stazione.dataset.km), x: stazione.querySelector('line').x1.baseVal.value},
    larghezza_pagina: document.documentElement.scrollWidth,
  };
})()
"""


def verifica_misure(m, a, con_script):
    errori = []

    def controlla(condizione, messaggio):
        if not condizione:
            errori.append(messaggio)

    s = a["stazioni"]
    controlla(m["stazioni_piano"] == s, f"stazioni nella planimetria {m['stazioni_piano']}, attese {s}")
    controlla(m["stazioni_profilo"] == s, f"stazioni nel profilo {m['stazioni_profilo']}, attese {s}")
    controlla(m["righe_orario"] == s, f"righe dell'orario {m['righe_orario']}, attese {s}")
    controlla(m["segnali_piano"] == a["segnali"], f"segnali nella planimetria {m['segnali_piano']}, attesi {a['segnali']}")
    controlla(m["segnali_profilo"] == a["segnali"], f"segnali nel profilo {m['segnali_profilo']}, attesi {a['segnali']}")
    controlla(m["cartelli"] == a["cartelli"], f"cartelli {m['cartelli']}, attesi {a['cartelli']}")
    controlla(m["numeri"] == [s, a["segnali"], a["cartelli"]], f"cifre dell'intestazione {m['numeri']}")
    controlla(m["nomi"] == a["nomi"], f"nomi delle stazioni {m['nomi']}, attesi {a['nomi']}")
    controlla(m["lunghezza"] == a["lunghezza"], f"lunghezza {m['lunghezza']}, attesa {a['lunghezza']}")
    # Without script every marker keeps its title; with it, each title became a tooltip.
    if con_script:
        controlla(m["titoli"] == 0, f"{m['titoli']} titoli rimasti con lo script")
    else:
        controlla(m["titoli"] >= 2 * s + 2 * a["segnali"] + a["cartelli"], f"titoli senza script: {m['titoli']}")

    # The track spans the plan view's extent, in metres, within the thinning's tolerance.
    t = m["traccia"]
    if not t or not t["box"]:
        errori.append("nessuna traccia nella planimetria")
    else:
        b, k = t["box"], t["scala"]
        in_metri = {"x_min": (b["x1"] - t["x0"]) / k, "x_max": (b["x2"] - t["x0"]) / k,
                    "y_max": (t["y0"] - b["y1"]) / k, "y_min": (t["y0"] - b["y2"]) / k}
        margine = t["tolleranza"] + 0.06 / k + 1e-6
        for chiave, valore in in_metri.items():
            controlla(abs(valore - a[chiave]) <= margine,
                      f"planimetria {chiave}: disegnata {valore:.1f} m, file {a[chiave]:.1f} m (margine {margine:.1f})")

    # The distance axis runs from 0 to the route's end, and the drawing follows it.
    asse = m["asse"]
    controlla(asse["inizio"] == 0 and asse["fine"] == a["lunghezza"], f"asse da {asse['inizio']} a {asse['fine']} m")
    controlla(abs(asse["linea"][0] - asse["x1"]) < 0.06 and abs(asse["linea"][1] - asse["x2"]) < 0.06,
              f"linea dell'asse {asse['linea']}, estremi {asse['x1']} {asse['x2']}")
    controlla(asse["tacche"][0] == 0 and 0 < asse["tacche"][-1] * 1000 <= a["lunghezza"],
              f"tacche dell'asse {asse['tacche']}")
    for nome in ("velocita", "pendenza"):
        estremi = m[nome]
        controlla(estremi and abs(estremi[0] - asse["x1"]) < 0.06 and abs(estremi[1] - asse["x2"]) < 0.06,
                  f"la linea {nome} va da {estremi}, l'asse da {asse['x1']} a {asse['x2']}")
    sf = m["stazione_finale"]
    atteso_x = asse["x1"] + sf["km"] * 1000 / a["lunghezza"] * (asse["x2"] - asse["x1"])
    controlla(abs(sf["x"] - atteso_x) < 0.06, f"ultima stazione a x {sf['x']}, attesa {atteso_x:.1f}")
    controlla(m["larghezza_pagina"] <= LARGHEZZA, f"la pagina scorre di lato: {m['larghezza_pagina']} px")
    return errori


def prova_pagina(navigatore, nome, pagina, a, artefatti):
    url = "file://" + os.path.abspath(pagina)
    errori = []
    for con_script in (True, False):
        navigatore.invia("Emulation.setScriptExecutionDisabled", {"value": not con_script})
        navigatore.eventi.clear()
        navigatore.invia("Page.navigate", {"url": url})
        navigatore.attendi_evento("Page.loadEventFired")
        navigatore.raccogli(0.5)
        errori += problemi_pagina(navigatore.eventi, url)
        if not con_script:
            navigatore.invia("Emulation.setScriptExecutionDisabled", {"value": False})
        misure = navigatore.valuta(MISURE)
        errori += [f"{'con' if con_script else 'senza'} script: {e}"
                   for e in verifica_misure(misure, a, con_script)]
        if not con_script:
            break
        # Pointing at the last station of the profile shows its name and position.
        riquadro = navigatore.valuta("""(() => { const s = document.querySelectorAll('#svg-profilo g.stazione');
            s[s.length - 1].scrollIntoView({block: 'center'});
            const q = s[s.length - 1].querySelector('rect.zona').getBoundingClientRect();
            return {x: q.x + q.width / 2, y: q.y + q.height / 2}; })()""")
        navigatore.invia("Input.dispatchMouseEvent", {"type": "mouseMoved", "x": riquadro["x"], "y": riquadro["y"]})
        navigatore.raccogli(0.2)
        suggerimento = navigatore.valuta("""(() => { const t = document.getElementById('suggerimento');
            return {visibile: !t.hidden && t.offsetWidth > 0, testo: t.textContent,
                    accesi: document.querySelectorAll('.attivo').length}; })()""")
        ultima = a["nomi"][-1]
        if not suggerimento["visibile"] or ultima not in suggerimento["testo"] or "km" not in suggerimento["testo"]:
            errori.append(f"suggerimento sull'ultima stazione: {suggerimento}")
        if suggerimento["accesi"] != 3:
            errori.append(f"la stazione indicata accende {suggerimento['accesi']} elementi, non 3")
        navigatore.invia("Input.dispatchMouseEvent", {"type": "mouseMoved", "x": 1, "y": 1})
        navigatore.valuta("window.scrollTo(0, 0)")
        navigatore.raccogli(0.2)
        immagine = navigatore.invia("Page.captureScreenshot", {"format": "png"})
        open(os.path.join(artefatti, f"disegno_{nome}.png"), "wb").write(base64.b64decode(immagine["data"]))
        altezza = navigatore.valuta("document.documentElement.scrollHeight")
        intera = navigatore.invia("Page.captureScreenshot", {
            "format": "png", "captureBeyondViewport": True,
            "clip": {"x": 0, "y": 0, "width": LARGHEZZA, "height": altezza, "scale": 1}})
        open(os.path.join(artefatti, f"disegno_{nome}_intera.png"), "wb").write(base64.b64decode(intera["data"]))
    return errori


def esegui(comando, cartella):
    r = subprocess.run(comando, cwd=cartella, capture_output=True, text=True)
    if r.returncode != 0:
        raise Errore(f"{' '.join(comando)}: stato {r.returncode}\n{r.stdout}{r.stderr}")
    return r


def main():
    argomenti = argparse.ArgumentParser()
    argomenti.add_argument("--genera", required=True)
    argomenti.add_argument("--scenario", required=True)
    argomenti.add_argument("--chromium", default=shutil.which("chromium") or "/usr/bin/chromium")
    argomenti.add_argument("--dati", required=True)
    argomenti.add_argument("--artefatti", required=True)
    o = argomenti.parse_args()
    for campo in ("genera", "scenario", "dati", "artefatti"):
        setattr(o, campo, os.path.abspath(getattr(o, campo)))
    os.makedirs(o.artefatti, exist_ok=True)

    if not os.access(o.chromium, os.X_OK):
        print(f"SKIP: {o.chromium} non c'e': installare il pacchetto Debian chromium")
        return SALTA

    with tempfile.TemporaryDirectory(prefix="prova_disegno_") as tmp:
        # The built-in scenario: the generator's files, and its descriptions as exported.
        corvenna = os.path.join(tmp, "corvenna")
        os.makedirs(corvenna)
        shutil.copy(o.genera, corvenna)
        esegui([os.path.join(corvenna, os.path.basename(o.genera))], corvenna)
        descrizioni = os.path.join(tmp, "descrizioni")
        esegui([o.scenario, "esporta", descrizioni], tmp)
        # The page's default name, in the current directory.
        esegui([o.scenario, "disegna", corvenna], tmp)
        pagine = [("corvenna", os.path.join(tmp, "Corvenna_7381.html"),
                   attesi(corvenna, "Corvenna", "7381",
                          os.path.join(descrizioni, "Corvenna_linea.txt"),
                          os.path.join(descrizioni, "Corvenna_7381-.txt")))]

        # The fixture, compiled from its descriptions; the page named on the command line.
        prova = os.path.join(tmp, "prova")
        linea, treno = os.path.join(o.dati, "Prova_linea.txt"), os.path.join(o.dati, "Prova_0042-.txt")
        esegui([o.scenario, "compila", linea, treno, "-o", prova], tmp)
        esegui([o.scenario, "disegna", prova, "-o", os.path.join(tmp, "prova.html")], tmp)
        pagine.append(("prova", os.path.join(tmp, "prova.html"), attesi(prova, "Prova", "0042", linea, treno)))

        try:
            navigatore = Navigatore(o.chromium, tmp)
        except OSError as e:
            print(f"SKIP: Chromium non parte: {e}")
            return SALTA
        errori = []
        try:
            try:
                navigatore.invia("Browser.getVersion", sessione=False, attesa=60)
            except Errore as e:
                registro = open(os.path.join(tmp, "chromium.log"), errors="replace").read()[-2000:]
                print(f"SKIP: Chromium non risponde ({e}):\n{registro}")
                return SALTA
            navigatore.apri_scheda()
            for nome, pagina, a in pagine:
                dimensione = os.path.getsize(pagina)
                trovati = prova_pagina(navigatore, nome, pagina, a, o.artefatti)
                errori += [f"{nome}: {e}" for e in trovati]
                print(f"{nome}: {dimensione} byte, {a['stazioni']} stazioni, {a['segnali']} segnali, "
                      f"{a['cartelli']} cartelli: {'ok' if not trovati else 'ERRORI'}")
        except Errore as e:
            errori.append(str(e))
        finally:
            navigatore.chiudi()
        for e in errori:
            print(f"ERRORE: {e}")
        print(f"{len(pagine) if not errori else 0} passed, {1 if errori else 0} failed")
        return 1 if errori else 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Errore as e:
        print(f"ERRORE: {e}")
        sys.exit(1)
