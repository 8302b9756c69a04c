// Drives `scenario_tool lsp` as an editor does, through the client side of the
// protocol library: initialize, open the example pair, type a mistake (a
// ranged change) and see its diagnostic on the field, hover, complete, apply
// the quick fix and see the diagnostic go, type and delete a character of two
// UTF-16 units, send the whole text once, shut down and exit.
// Usage: node lsp_client_test.js SCENARIO_TOOL EXAMPLES_DIR
'use strict';
const assert = require('node:assert/strict');
const { spawn } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const rpc = require('vscode-languageserver-protocol/node');

const [tool, examples] = process.argv.slice(2);
const dir = fs.mkdtempSync(path.join(process.env.TMPDIR || os.tmpdir(), 'lsp-client-'));
const files = ['VALDORNO_linea.txt', 'VALDORNO_2417-.txt'];
for (const f of files) fs.copyFileSync(path.join(examples, f), path.join(dir, f));
const lineUri = pathToFileURL(path.join(dir, files[0])).href;
const trainUri = pathToFileURL(path.join(dir, files[1])).href;
const decode = (file) => new TextDecoder('windows-1252').decode(fs.readFileSync(path.join(dir, file)));
const show = (what, m) => process.env.LSP_TRACE && console.log(what, JSON.stringify(m));

const server = spawn(tool, ['lsp'], { stdio: ['pipe', 'pipe', 'inherit'] });
const connection = rpc.createProtocolConnection(
  new rpc.StreamMessageReader(server.stdout), new rpc.StreamMessageWriter(server.stdin));

// The diagnostics published for each URI, and whoever waits for the next ones.
const waiting = new Map();
connection.onNotification(rpc.PublishDiagnosticsNotification.type, (p) => {
  show('<- publishDiagnostics', p);
  const w = waiting.get(p.uri);
  if (w) { waiting.delete(p.uri); w(p.diagnostics); }
});
const next = (uri) => new Promise((resolve) => waiting.set(uri, resolve));
connection.listen();

// Each step answers in milliseconds; a hung server fails the test here.
const deadline = setTimeout(() => { console.error('FAIL: no answer within 30 s'); server.kill(); process.exit(1); }, 30000);

function applyEdits(text, edits) {
  const lines = text.split(/\r\n|\r|\n/);
  const breaks = text.match(/\r\n|\r|\n/g) || [];
  const offset = (p) => lines.slice(0, p.line).reduce((n, l, i) => n + l.length + breaks[i].length, 0) + p.character;
  for (const e of [...edits].sort((a, b) => offset(b.range.start) - offset(a.range.start)))
    text = text.slice(0, offset(e.range.start)) + e.newText + text.slice(offset(e.range.end));
  return text;
}

async function main() {
  const init = await connection.sendRequest(rpc.InitializeRequest.type,
    { processId: process.pid, rootUri: pathToFileURL(dir).href, capabilities: {} });
  show('<- initialize', init);
  assert.equal(init.capabilities.textDocumentSync.change, rpc.TextDocumentSyncKind.Incremental);
  await connection.sendNotification(rpc.InitializedNotification.type, {});

  let text = decode(files[0]);
  const clean = next(lineUri), cleanTrain = next(trainUri);
  await connection.sendNotification(rpc.DidOpenTextDocumentNotification.type,
    { textDocument: { uri: lineUri, languageId: 'plaintext', version: 1, text } });
  assert.deepEqual(await clean, [], 'the example line is clean');
  assert.deepEqual(await cleanTrain, [], 'the example train is clean');

  // Sends ranged changes and keeps the client's copy of the text in step.
  let version = 1;
  const change = async (uri, edits) => {
    const published = next(uri);
    text = applyEdits(text, edits);
    const contentChanges = edits.map((e) => ({ range: e.range, text: e.newText }));
    show('-> didChange', contentChanges);
    await connection.sendNotification(rpc.DidChangeTextDocumentNotification.type,
      { textDocument: { uri, version: ++version }, contentChanges });
    return published;
  };
  const at = (line, character) => ({ line, character });

  // The mistake: a keyword one letter off, typed as one inserted letter; the
  // record is lost, so it is an error.
  const found = await change(lineUri, [{ range: { start: at(5, 9), end: at(5, 9) }, newText: 'n' }]);
  assert.equal(found.length, 1);
  assert.equal(found[0].code, 'E-misspelt-keyword');
  assert.equal(found[0].severity, rpc.DiagnosticSeverity.Error);
  assert.deepEqual(found[0].range, { start: { line: 5, character: 0 }, end: { line: 5, character: 11 } });

  const hover = await connection.sendRequest(rpc.HoverRequest.type,
    { textDocument: { uri: lineUri }, position: { line: 10, character: 2 } });
  show('<- hover', hover);
  assert.match(hover.contents.value, /curv/);

  const items = await connection.sendRequest(rpc.CompletionRequest.type,
    { textDocument: { uri: lineUri }, position: { line: 10, character: 0 } });
  show('<- completion (labels)', items.map((i) => i.label));
  assert.ok(items.some((i) => i.label === '[pendenze]'));
  assert.ok(items.some((i) => i.label.startsWith('curva')));

  const actions = await connection.sendRequest(rpc.CodeActionRequest.type,
    { textDocument: { uri: lineUri }, range: found[0].range, context: { diagnostics: found } });
  show('<- codeAction', actions);
  assert.equal(actions.length, 1);
  assert.deepEqual(await change(lineUri, actions[0].edit.changes[lineUri]), [], 'the fix takes the diagnostic away');
  assert.equal(text, decode(files[0]));

  // A character Windows-1252 cannot hold, typed into a sign's text: two
  // UTF-16 units, so the server's places must count them as the editor does.
  const signLine = text.split(/\r\n/).findIndex((l) => l.includes('(Cippo Km.)'));
  const column = text.split(/\r\n/)[signLine].indexOf('Cippo') + 5;
  const odd = await change(lineUri, [{ range: { start: at(signLine, column), end: at(signLine, column) }, newText: '\u{1F682}' }]);
  assert.equal(odd.length, 1);
  assert.equal(odd[0].code, 'encoding');
  assert.deepEqual(odd[0].range, { start: at(signLine, column), end: at(signLine, column + 2) });
  // Deleted again by a range over both units, in the same message as a change
  // over a line break that leaves the text as it was.
  const breakAt = text.indexOf('\r\n');
  assert.deepEqual(await change(lineUri, [
    { range: { start: at(signLine, column), end: at(signLine, column + 2) }, newText: '' },
    { range: { start: at(0, breakAt - 3), end: at(1, 4) }, newText: text.slice(breakAt - 3, breakAt + 6) },
  ]), [], 'the text is clean again');
  assert.equal(text, decode(files[0]));

  // A whole text is still taken.
  const whole = next(lineUri);
  await connection.sendNotification(rpc.DidChangeTextDocumentNotification.type,
    { textDocument: { uri: lineUri, version: ++version }, contentChanges: [{ text: text.replace('sfondo uno', 'sfondo unno') }] });
  assert.equal((await whole)[0].code, 'E-misspelt-keyword');

  await connection.sendRequest(rpc.ShutdownRequest.type);
  const exited = new Promise((resolve) => server.on('exit', resolve));
  await connection.sendNotification(rpc.ExitNotification.type);
  assert.equal(await exited, 0);
}

main().then(() => {
  clearTimeout(deadline);
  connection.dispose();
  fs.rmSync(dir, { recursive: true, force: true });
  console.log('PASS: the client saw the diagnostic, hover, completion and the fix');
}, (e) => {
  console.error('FAIL:', e);
  server.kill();
  fs.rmSync(dir, { recursive: true, force: true });
  process.exit(1);
});
