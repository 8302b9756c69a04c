// `serve`'s save-to-shown time on a generated 1000 km line, printed, never
// asserted (a benchmark, not a test):
// node serve_benchmark.js SCENARIO_TOOL WRITE_TEST_PAIRS [chromium|firefox] [SAVES]
// A save: the line description written again with a keyword misspelt or
// mended; it is shown when the page's diagnostics tell the change and two
// animation frames have passed (painted), whether the page drew the new
// compile in place or loaded again. Each save is
// given as wall time from the write, as the server's CPU time and as the CPU
// time of every process of the browser (layout, paint, raster and
// compositing included), both read from /proc over the save.
'use strict';
const { execFileSync, spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { started } = require('./serve_address');
const { launch, openPage } = require('./browser');
const { treeCpu } = require('./process_cpu');

const [tool, writePairs, kind = 'chromium', savesArg] = process.argv.slice(2);
const saves = Number(savesArg || 10);
const median = (v) => { const s = v.slice().sort((a, b) => a - b); return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2; };

async function main() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'serve-bench-'));
  execFileSync(writePairs, [dir, '1000']);
  const pair = path.join(dir, 'generated');
  const line = path.join(pair, 'LINEA LUNGA_linea.txt');
  const server = spawn(tool, ['serve', pair, 'LINEA LUNGA', '300', '--port', '0', '--stop-after', '900'], { stdio: ['ignore', 'pipe', 'inherit'] });
  const browser = await launch(kind);
  try {
    const url = await started(server);
    const { page, errors } = await openPage(browser, url, 1600, 900);
    await new Promise((resolve) => setTimeout(resolve, 2000));
    const original = fs.readFileSync(line, 'latin1');
    const walls = [], serverCpus = [], browserCpus = [];
    for (let k = 1; k <= saves; ++k) {
      // Odd saves misspell a keyword (a diagnostic appears), even ones mend it.
      const misspelt = k % 2 === 1;
      const serverBefore = treeCpu(server.pid), browserBefore = treeCpu(browser.process().pid);
      const written = Date.now();
      fs.writeFileSync(line, misspelt ? original.replace('sfondo uno', 'sfondo unno') : original, 'latin1');
      await page.waitForFunction((m) => (document.getElementById('diagnostics')?.textContent.includes('sfondo unno') ?? false) === m,
                                 { timeout: 30000, polling: 10 }, misspelt);
      const painted = await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(() => resolve(performance.timeOrigin + performance.now())))));
      walls.push(painted - written);
      serverCpus.push(treeCpu(server.pid) - serverBefore);
      browserCpus.push(treeCpu(browser.process().pid) - browserBefore);
      await new Promise((resolve) => setTimeout(resolve, 1000));
    }
    fs.writeFileSync(line, original, 'latin1');
    // A page loaded again cancels its event stream: that is no error.
    const real = errors.filter((e) => !/^request failed: .*\/events(\?state=[^/]*)?$/.test(e));
    if (real.length) throw new Error(real.join('; '));
    const f = (v) => v.toFixed(0);
    const line3 = (what, v) => `${what}: min ${f(Math.min(...v))} ms, median ${f(median(v))} ms, max ${f(Math.max(...v))} ms`;
    console.log(`${saves} saves of the 1000 km line in ${kind} ${await browser.version()}, load average ${os.loadavg().map((l) => l.toFixed(1)).join(' ')}`);
    console.log(line3('save to shown (wall)', walls));
    console.log(line3('server CPU per save', serverCpus));
    console.log(line3('browser CPU per save (all its processes)', browserCpus));
  } finally {
    await browser.close();
    server.kill();
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

main().catch((e) => { console.error(e.stack); process.exit(1); });
