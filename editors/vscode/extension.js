// Starts `scenario_tool lsp` for the line and train descriptions open in the
// editor and stops it with the editor: every feature comes from the server.
'use strict';
const vscode = require('vscode');
const { LanguageClient, TransportKind } = require('vscode-languageclient/node');

let client;

function activate(context) {
  const command = vscode.workspace.getConfiguration('scenarioDescriptions').get('toolPath', 'scenario_tool');
  const server = { command, args: ['lsp'], transport: TransportKind.stdio };
  client = new LanguageClient('scenarioDescriptions', 'scenario_tool lsp', server, {
    documentSelector: [{ scheme: 'file', language: 'scenario-description' }],
  });
  context.subscriptions.push(client);
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
