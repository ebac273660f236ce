// The extension's problem matchers against what `scenario controlla` prints for a template with
// several faults: every diagnostic the JSON output lists is matched, by the matcher of its
// severity, at its file, line and column with its code or name, and no other line of the text
// output (source lines, carets, notes, the count) is taken for a problem.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { spawnSync, execFileSync } = require('node:child_process');

const pacchetto = JSON.parse(fs.readFileSync(path.join(__dirname, '..', 'package.json'), 'utf8'));
const matcher = Object.fromEntries(pacchetto.contributes.problemMatchers.map((m) => [m.name, m]));

function controlla(cartella, formato) {
    const r = spawnSync(process.env.SCENARIO,
                        ['controlla', 'Guasti_linea.txt', 'Guasti_7381-.txt', '--diagnostica', formato],
                        { cwd: cartella, encoding: 'latin1' });
    assert.strictEqual(r.status, 1, r.stderr);
    return r;
}

// Edits a description line by line: `modifiche` maps a line's start to its replacement.
function modifica(file, modifiche) {
    const righe = fs.readFileSync(file, 'latin1').split('\r\n');
    for (const [inizio, nuova] of modifiche) {
        const i = righe.findIndex((r) => r.startsWith(inizio));
        assert.ok(i >= 0, `no line starts with ${inizio}`);
        righe[i] = nuova;
    }
    fs.writeFileSync(file, righe.join('\r\n'), 'latin1');
}

test('the matchers find every diagnostic of the text output and nothing else', () => {
    const cartella = fs.mkdtempSync(path.join(os.tmpdir(), 'problemi-'));
    execFileSync(process.env.SCENARIO, ['esporta', cartella]);
    fs.renameSync(path.join(cartella, 'Corvenna_linea.txt'), path.join(cartella, 'Guasti_linea.txt'));
    fs.renameSync(path.join(cartella, 'Corvenna_7381-.txt'), path.join(cartella, 'Guasti_7381-.txt'));
    modifica(path.join(cartella, 'Guasti_7381-.txt'), [
        ['velocita,  43000,', 'velocita,  43000,  131'],
        ['velocita,  77900,', 'velocita,  77900,  92'],
        ['stazione,  5200,', 'stazione,  5210,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  45,  30,   S. LUCERIO'],
    ]);
    const attesi = JSON.parse(controlla(cartella, 'json').stdout);
    assert.ok(attesi.some((d) => d.gravita === 'errore') && attesi.some((d) => d.gravita === 'avviso'),
              JSON.stringify(attesi));

    const testo = controlla(cartella, 'testo');
    const righe = (testo.stdout + testo.stderr).split(/\r?\n/).filter((r) => r !== '');
    const trovati = [];
    for (const riga of righe) {
        for (const [nome, gravita] of [['scenario', 'errore'], ['scenario-avvisi', 'avviso']]) {
            const p = matcher[nome].pattern;
            const m = new RegExp(p.regexp).exec(riga);
            if (m)
                trovati.push({ file: m[p.file], riga: Number(m[p.line]), colonna: Number(m[p.column]),
                               gravita, codice: m[p.code], messaggio: m[p.message] });
        }
    }
    assert.deepStrictEqual(
        trovati.map((d) => [d.file, d.riga, d.colonna, d.gravita, d.messaggio]),
        attesi.map((d) => [d.file, d.riga, d.colonna, d.gravita, d.messaggio]));
    for (const [i, d] of attesi.entries()) {
        const codici = [d.codice, d.nome, d.numero].filter((c) => c !== undefined && c !== null).map(String);
        assert.ok(codici.includes(trovati[i].codice), `${JSON.stringify(d)}: code ${trovati[i].codice}`);
    }
});
