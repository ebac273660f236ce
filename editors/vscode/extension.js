// Starts `scenario lsp` for the descriptions of a scenario and stops it with the editor. The
// checks, hovers, completions, outline and fixes all come from the server; the extension only
// says which files it serves and which program to start.
'use strict';
const vscode = require('vscode');
const { LanguageClient, TransportKind } = require('vscode-languageclient/node');

let cliente;

function activate(contesto) {
    const programma = vscode.workspace.getConfiguration('scenario').get('percorso') || 'scenario';
    const server = { command: programma, args: ['lsp'], transport: TransportKind.stdio };
    cliente = new LanguageClient('scenario', 'Descrizioni di scenario', server, {
        documentSelector: [{ scheme: 'file', language: 'scenario-descrizione' },
                           { scheme: 'untitled', language: 'scenario-descrizione' }],
        synchronize: {
            fileEvents: vscode.workspace.createFileSystemWatcher('**/*{_linea.txt,-.txt}'),
        },
    });
    contesto.subscriptions.push({ dispose: () => cliente && cliente.stop() });
    return cliente.start();
}

function deactivate() {
    return cliente ? cliente.stop() : undefined;
}

module.exports = { activate, deactivate };
