// Tokenises every line of the exported template and of the test fixtures with the extension's
// grammar, through the same TextMate engine the editor uses, and checks what each field is
// coloured as: the section of a header, the keyword, every number, a station's name, a board's
// text. The descriptions come from `scenario esporta` (SCENARIO: the program) and from the
// fixture folder (DATI).
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { execFileSync } = require('node:child_process');
const vsctm = require('vscode-textmate');
const oniguruma = require('vscode-oniguruma');

const radice = path.join(__dirname, '..');

async function grammatica() {
    const wasm = fs.readFileSync(require.resolve('vscode-oniguruma/release/onig.wasm'));
    await oniguruma.loadWASM(wasm.buffer);
    const registro = new vsctm.Registry({
        onigLib: Promise.resolve({
            createOnigScanner: (sorgenti) => new oniguruma.OnigScanner(sorgenti),
            createOnigString: (testo) => new oniguruma.OnigString(testo),
        }),
        loadGrammar: async () => {
            const file = path.join(radice, 'syntaxes', 'scenario.tmLanguage.json');
            return vsctm.parseRawGrammar(fs.readFileSync(file, 'utf8'), file);
        },
    });
    return registro.loadGrammar('source.scenario');
}

// The lines of a description, as the editor splits them (CR LF, Windows-1252 read as Latin-1).
function righe(file) {
    return fs.readFileSync(file, 'latin1').split(/\r?\n/).filter((r) => r.length > 0);
}

// Each token as [text, most specific scope].
function gettoni(g, riga) {
    const { tokens } = g.tokenizeLine(riga, vsctm.INITIAL);
    return tokens.map((t) => [riga.slice(t.startIndex, t.endIndex), t.scopes[t.scopes.length - 1]]);
}

function ambiti(g, riga, testo) {
    return gettoni(g, riga).filter(([t]) => t.trim() === testo).map(([, a]) => a);
}

function descrizioni() {
    const cartella = fs.mkdtempSync(path.join(os.tmpdir(), 'grammatica-'));
    execFileSync(process.env.SCENARIO, ['esporta', cartella]);
    const file = fs.readdirSync(cartella).filter((n) => n.endsWith('_linea.txt') || n.endsWith('-.txt'))
        .map((n) => path.join(cartella, n));
    const dati = process.env.DATI;
    for (const n of fs.readdirSync(dati))
        if (n.endsWith('_linea.txt') || n.endsWith('-.txt'))
            file.push(path.join(dati, n));
    return file;
}

test('every line of the template and the fixtures has the scopes of what it holds', async () => {
    const g = await grammatica();
    const file = descrizioni();
    assert.ok(file.length >= 4, `descriptions found: ${file}`);
    let contate = 0;
    for (const f of file) {
        for (const riga of righe(f)) {
            const dove = `${path.basename(f)}: "${riga}"`;
            const gettoni_riga = gettoni(g, riga);
            const campi = riga.split(',');
            if (/^\s*\[/.test(riga)) {
                assert.deepStrictEqual(ambiti(g, riga, riga.trim().slice(1, -1)),
                                       ['entity.name.section.scenario'], dove);
                continue;
            }
            // The keyword field, whole.
            assert.deepStrictEqual(ambiti(g, riga, campi[0].trim()), ['keyword.other.scenario'], dove);
            const valori = /orologio/.test(campi[0]) ? campi[1].trim().split(/\s+/) : campi.slice(1);
            for (const [i, v] of valori.map((v) => v.trim()).entries()) {
                if (v === '')
                    continue;
                const atteso = /^-?\d+$/.test(v) ? 'constant.numeric.integer.scenario'
                    : /stazione/.test(campi[0]) && i === valori.length - 1 ? 'entity.name.station.scenario'
                    : /cartello/.test(campi[0]) ? 'string.unquoted.board-text.scenario'
                    : 'unexpected text';
                assert.ok(ambiti(g, riga, v).includes(atteso), `${dove}: "${v}" is not ${atteso}`);
            }
            // No character of a known line is left without a scope of its own but blanks.
            for (const [t, a] of gettoni_riga)
                assert.ok(t.trim() === '' || a !== 'source.scenario', `${dove}: "${t}" has no scope`);
            contate++;
        }
    }
    assert.ok(contate > 200, `only ${contate} lines`);
});

test('what the compile skips or cannot read looks different', async () => {
    const g = await grammatica();
    const casi = [
        ['---- tratta di pianura ----', '---- tratta di pianura ----', 'comment.line.scenario'],
        ['  -- nota, con virgola', '-- nota', 'comment.line.scenario'],
        ['curvatura destra, 1000, 200', 'curvatura destra', 'keyword.other.scenario'],
        ['velocita, 1500, 125.5', '125.5', 'invalid.illegal.not-a-number.scenario'],
        ['stazoine, 0, 2', 'stazoine', 'invalid.deprecated.unknown-keyword.scenario'],
        ['pendenza, -1500, -12', '-12', 'constant.numeric.integer.scenario'],
        ['cartello_indicatore, 350, "(Bivio, nord)"', '"(Bivio, nord)"', 'string.quoted.double.scenario'],
        ['stazione, 0, 2, 400, 0, 0, 1, 1, 1, 0, 2, 4, 1, 1, 6, 41, 0,   SAN  GERVOLO', 'SAN  GERVOLO',
         'entity.name.station.scenario'],
    ];
    for (const [riga, testo, atteso] of casi) {
        const trovati = gettoni(g, riga).filter(([t]) => t.trim() === testo).map(([, a]) => a);
        assert.ok(trovati.includes(atteso) || (atteso.startsWith('string.quoted') &&
                  gettoni(g, riga).some(([, a]) => a === atteso)),
                  `"${riga}": "${testo}" has ${JSON.stringify(gettoni(g, riga))}, not ${atteso}`);
    }
});
