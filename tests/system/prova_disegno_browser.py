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

Zoom and labels: on the built-in scenario and on a line of 1000 km (its descriptions written
here, the page drawn straight from them), at the full extent and zoomed to 10 km through the
page's fragment (#km=A-B), every visible text label's box is read and no two overlap; zoomed,
only the features of that range are shown and the axis counts only its kilometres. With an
empty train description the markers stay inside their own bands. Drawn from descriptions, every
marker's tooltip names its description line. The zoomed page of the built-in scenario is saved
as disegno_zoom.png (the picture in docs/manuale_disegna.md).

Exit status: 0 passed, 1 failed, 77 skipped (Chromium cannot start at all).
"""

import argparse
import base64
import fcntl
import json
import math
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
        "piano": [(p[0], p[1]) for p in piano],
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
                         y0: Number(traccia.dataset.y0), rotazione: Number(traccia.dataset.rotazione),
                         tolleranza: Number(traccia.dataset.tolleranzaM), box},
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

    # The track spans the plan view's extent, in metres, turned as the page turns the plan,
    # within the thinning's tolerance.
    t = m["traccia"]
    if not t or not t["box"]:
        errori.append("nessuna traccia nella planimetria")
    else:
        angolo = math.radians(t["rotazione"])
        cos, sin = math.cos(angolo), math.sin(angolo)
        girati = [(cos * x - sin * y, sin * x + cos * y) for x, y in a["piano"]]
        estensione = {"x_min": min(g[0] for g in girati), "x_max": max(g[0] for g in girati),
                      "y_min": min(g[1] for g in girati), "y_max": max(g[1] for g in girati)}
        b, k = t["box"], t["scala"]
        in_metri = {"x_min": (b["x1"] - t["x0"]) / k, "x_max": (b["x2"] - t["x0"]) / k,
                    "y_max": (t["y0"] - b["y1"]) / k, "y_min": (t["y0"] - b["y2"]) / k}
        margine = t["tolleranza"] + 0.06 / k + 1e-6
        for chiave, valore in in_metri.items():
            controlla(abs(valore - estensione[chiave]) <= margine,
                      f"planimetria {chiave}: disegnata {valore:.1f} m, file {estensione[chiave]:.1f} m (margine {margine:.1f})")

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


# --- Zoom, labels and bands. ---------------------------------------------------------------------

ETICHETTE = r"""
(() => [...document.querySelectorAll('svg.disegno text')].filter(t => {
    if (getComputedStyle(t).visibility === 'hidden') return false;
    const r = t.getBoundingClientRect();
    return r.width > 0 && r.height > 0 && t.textContent.trim() !== '';
  }).map(t => { const r = t.getBoundingClientRect();
    return {testo: t.textContent, x1: r.left + scrollX, y1: r.top + scrollY,
            x2: r.right + scrollX, y2: r.bottom + scrollY}; }))()
"""

VISTA = r"""
(() => {
  const km = sel => [...document.querySelectorAll(sel)].filter(e => e.getClientRects().length > 0)
                      .map(e => Number(e.dataset.km));
  return {
    profilo: km('#svg-profilo .spostabile'), piano: km('#svg-planimetria .punto'),
    tacche: [...document.querySelectorAll('#svg-profilo .asse-distanza .tacche text')]
              .map(t => Number(t.textContent.replace(',', '.'))),
    finestra: document.getElementById('finestra').textContent,
    senza_riga: [...document.querySelectorAll('[data-info]')].filter(e => !/riga \d+ della descrizione (della linea|del treno)/.test(e.dataset.info)).length,
    marcatori: document.querySelectorAll('[data-info]').length,
  };
})()
"""

FASCE = r"""
(() => {
  const fondi = [...document.querySelectorAll('#svg-profilo g.fascia rect.fondo')].map(r => r.getBoundingClientRect());
  const dentro = (sel, f) => [...document.querySelectorAll(sel)].filter(e => e.getClientRects().length > 0).map(e => {
    const r = e.getBoundingClientRect();
    return r.left >= f.left - 0.5 && r.right <= f.right + 0.5 && r.top >= f.top - 0.5 && r.bottom <= f.bottom + 0.5; });
  return {bande: fondi.length,
          cartelli: dentro('#svg-profilo .cartello.velocita .targa', fondi[2]),
          segnali: dentro('#svg-profilo .segnale path, #svg-profilo .segnale circle, #svg-profilo .segnale rect', fondi[4]),
          curve: dentro('#svg-profilo rect.curva', fondi[3])};
})()
"""


def sovrapposte(etichette):
    """The pairs of labels whose boxes overlap by more than half a pixel each way."""
    coppie = []
    ordinate = sorted(etichette, key=lambda e: e["x1"])
    for i, a in enumerate(ordinate):
        for b in ordinate[i + 1:]:
            if b["x1"] >= a["x2"] - 0.5:
                break
            if min(a["x2"], b["x2"]) - max(a["x1"], b["x1"]) > 0.5 and \
               min(a["y2"], b["y2"]) - max(a["y1"], b["y1"]) > 0.5:
                coppie.append((a["testo"], b["testo"]))
    return coppie


def apri(navigatore, url):
    navigatore.eventi.clear()
    navigatore.invia("Page.navigate", {"url": "about:blank"})
    navigatore.attendi_evento("Page.loadEventFired")
    navigatore.eventi.clear()
    navigatore.invia("Page.navigate", {"url": url})
    navigatore.attendi_evento("Page.loadEventFired")
    navigatore.raccogli(0.3)
    return problemi_pagina(navigatore.eventi, url.split("#")[0])


def prova_zoom(navigatore, nome, pagina, da_km, a_km, artefatti, con_righe=False):
    """Full extent and zoomed through the fragment: no overlapping label, only the range."""
    url = "file://" + os.path.abspath(pagina)
    errori = []
    for frammento in ("", f"#km={da_km}-{a_km}"):
        errori += apri(navigatore, url + frammento)
        etichette = navigatore.valuta(ETICHETTE)
        dove = frammento or "intera"
        if len(etichette) < 10:
            errori.append(f"{dove}: solo {len(etichette)} etichette visibili")
        for a, b in sovrapposte(etichette)[:10]:
            errori.append(f"{dove}: etichette sovrapposte {a!r} e {b!r}")
        v = navigatore.valuta(VISTA)
        if con_righe and v["senza_riga"]:
            errori.append(f"{dove}: {v['senza_riga']} marcatori su {v['marcatori']} senza la riga della descrizione")
        if not frammento:
            continue
        fuori = [k for k in v["profilo"] + v["piano"] if not da_km - 0.001 <= k <= a_km + 0.001]
        if fuori:
            errori.append(f"{dove}: elementi fuori dal tratto: {fuori[:10]}")
        if not v["profilo"] or not v["piano"]:
            errori.append(f"{dove}: nessun elemento nel tratto ({len(v['profilo'])} nel profilo, {len(v['piano'])} nella planimetria)")
        if not v["tacche"] or min(v["tacche"]) < da_km or max(v["tacche"]) > a_km or len(v["tacche"]) < 3:
            errori.append(f"{dove}: tacche dell'asse {v['tacche']}")
        atteso = f"km {da_km:.3f} – {a_km:.3f}".replace(".", ",")
        if v["finestra"] != atteso:
            errori.append(f"{dove}: la vista dice {v['finestra']!r}, non {atteso!r}")
        immagine = navigatore.invia("Page.captureScreenshot", {"format": "png"})
        open(os.path.join(artefatti, f"disegno_{nome}_zoom.png"), "wb").write(base64.b64decode(immagine["data"]))
    return [f"{nome}: {e}" for e in errori]


def prova_fasce(navigatore, nome, pagina):
    errori = apri(navigatore, "file://" + os.path.abspath(pagina))
    f = navigatore.valuta(FASCE)
    if f["bande"] != 5:
        errori.append(f"{f['bande']} fasce nel profilo, non 5")
    for chiave in ("cartelli", "segnali", "curve"):
        if not f[chiave] and chiave != "segnali":  # an empty train has no signals
            errori.append(f"nessun elemento fra i {chiave}")
        elif not all(f[chiave]):
            errori.append(f"{f[chiave].count(False)} {chiave} su {len(f[chiave])} fuori dalla loro fascia")
    return [f"{nome}: {e}" for e in errori]


def nomi_inventati(n):
    """Station names made of syllables: fictional, Italian-sounding, all different."""
    sillabe = ["BRE", "CA", "DO", "LI", "MOR", "NE", "RA", "SAL", "TER", "VO", "ZA", "GU"]
    nomi = []
    for i in range(n):
        nome = sillabe[i % 12] + sillabe[(i // 12 + 5 * i) % 12].lower() + ["la", "no", "ra"][i % 3]
        nomi.append(("VILLA " if i % 4 == 1 else "") + nome.upper())
    return nomi


def descrizioni_1000km(modello_linea, modello_treno, cartella):
    """A line of 1000 km (the built-in general section, a curve a kilometre, a gradient every
    2 km, a tunnel, a speed board and a route sign at intervals) and a train with 40 stations
    and a signal pair every 10 km. Returns the two paths."""
    righe = open(modello_linea, "rb").read().decode("cp1252").split("\r\n")
    generale = [r for r in righe[1:righe.index("[curve]")] if "lunghezza" not in r]
    linea = ["[generale]", "lunghezza percorso,  1000000"] + generale + ["[curve]"]
    linea += [f"curva{'sd'[k % 2]}{2 + k % 4},  {k * 1000 + 300},  600" for k in range(1000)]
    linea += ["[pendenze]"] + [f"pendenza,  {k * 1000},  {k % 19 - 9}" for k in range(0, 1000, 2)]
    linea += ["[montagne]"] + [f"montagna,  {k * 1000 + 60000},  {k * 1000 + 62350},  11" for k in range(0, 1000, 100)]
    linea += ["[cartelli]"] + [f"indicatori_vmax,  {k * 1000 + 1550},  {100 + k % 40},  120,  120,  0,    ,    ,    ,  0"
                               for k in range(0, 1000, 20)]
    linea += ["[indicazioni]"] + [f"cartello_indicatore,  {k * 1000 + 7450},     (   P.L.  )(km {k + 7}+450)"
                                  for k in range(0, 1000, 30)]
    linea += ["[fine]", ""]
    treno = open(modello_treno, "rb").read().decode("cp1252").split("\r\n")
    t = treno[:treno.index("[vel_limite]") + 1]
    t += [f"velocita,  {k * 1000},  {100 + 20 * (k // 50 % 2)}" for k in range(0, 1000, 50)]
    t += ["[stazioni]"]
    nomi = nomi_inventati(40)
    for i, nome in enumerate(nomi):
        metro = i * 25000 if i < 39 else 990000
        ora = 6 * 3600 + 40 * 60 + metro * 36 // 1000
        h, m, s = ora // 3600, ora // 60 % 60, ora % 60
        if i == 0:
            t.append(f"stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  {h},  {m},  {s},   {nome}")
        elif i < 39:
            t.append(f"stazione,  {metro},  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  {h},  {m},  {s},   {nome}")
        else:
            t.append(f"stazione,  {metro},  4,  600,  1,  0,  0,  1,  1,  0,  4,  4,  1,  0,  {h},  {m},  {s},   {nome}")
    t += ["[rallentamenti]", "[segnali]"]
    for k in range(0, 990, 10):
        t.append(f"segnale,  {k * 1000 + 3000},  1,  4,  0,  0,  0,  0,  0,  0,  0,  0")
        t.append(f"segnale,  {k * 1000 + 4250},  2,  3,  1,  0,  1,  2,  2,  1,  0,  0")
    t += ["[codici]", "[fine]", ""]
    percorsi = (os.path.join(cartella, "Lunga_linea.txt"), os.path.join(cartella, "Lunga_0001-.txt"))
    for percorso, testo in zip(percorsi, (linea, t)):
        open(percorso, "wb").write("\r\n".join(testo).encode("cp1252"))
    return percorsi


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

        # The line of 1000 km, drawn straight from its descriptions; compiled too, for the
        # figures the page must show.
        lunga = os.path.join(tmp, "lunga")
        os.makedirs(lunga)
        linea_lunga, treno_lunga = descrizioni_1000km(os.path.join(descrizioni, "Corvenna_linea.txt"),
                                                      os.path.join(descrizioni, "Corvenna_7381-.txt"), lunga)
        esegui([o.scenario, "compila", linea_lunga, treno_lunga, "-o", lunga], tmp)
        esegui([o.scenario, "disegna", linea_lunga, treno_lunga, "-o", os.path.join(tmp, "lunga.html")], tmp)
        pagine.append(("lunga", os.path.join(tmp, "lunga.html"), attesi(lunga, "Lunga", "0001", linea_lunga, treno_lunga)))
        # The built-in line with an empty train description, drawn from descriptions.
        vuoto = os.path.join(tmp, "vuoto")
        os.makedirs(vuoto)
        shutil.copy(os.path.join(descrizioni, "Corvenna_linea.txt"), os.path.join(vuoto, "Vuoto_linea.txt"))
        open(os.path.join(vuoto, "Vuoto_0001-.txt"), "wb").close()
        esegui([o.scenario, "disegna", os.path.join(vuoto, "Vuoto_linea.txt"),
                os.path.join(vuoto, "Vuoto_0001-.txt"), "-o", os.path.join(tmp, "vuoto.html")], tmp)
        # The built-in scenario from its descriptions.
        esegui([o.scenario, "disegna", os.path.join(descrizioni, "Corvenna_linea.txt"),
                os.path.join(descrizioni, "Corvenna_7381-.txt"), "-o", os.path.join(tmp, "corvenna_descrizioni.html")], tmp)

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
            for nome, pagina, da_km, a_km, con_righe in (
                    ("corvenna", os.path.join(tmp, "Corvenna_7381.html"), 40, 50, False),
                    ("corvenna_descrizioni", os.path.join(tmp, "corvenna_descrizioni.html"), 40, 50, True),
                    ("lunga", os.path.join(tmp, "lunga.html"), 500, 510, True)):
                trovati = prova_zoom(navigatore, nome, pagina, da_km, a_km, o.artefatti, con_righe)
                errori += trovati
                print(f"{nome}: etichette e vista km {da_km}-{a_km}: {'ok' if not trovati else 'ERRORI'}")
            # An address whose range runs past the route's end opens on the range clipped to
            # the route, not on a range shifted back to keep its length.
            pagina = os.path.join(tmp, "Corvenna_7381.html")
            errori += apri(navigatore, "file://" + os.path.abspath(pagina) + "#km=80-95")
            finestra = navigatore.valuta("document.getElementById('finestra').textContent")
            if finestra != "km 80,000 – 88,000":
                errori.append(f"corvenna #km=80-95: la vista dice {finestra!r}, non 'km 80,000 – 88,000'")
            for nome, pagina in (("vuoto", os.path.join(tmp, "vuoto.html")),
                                 ("corvenna", os.path.join(tmp, "Corvenna_7381.html"))):
                trovati = prova_fasce(navigatore, nome, pagina)
                errori += trovati
                print(f"{nome}: elementi nelle loro fasce: {'ok' if not trovati else 'ERRORI'}")
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
