// Where the line view's time goes on a generated 1000 km line in Debian's
// headless Chromium: the first load and forty wheel steps are traced, and
// the busiest trace events and script functions are printed.
// node view_profile.js SCENARIO_TOOL WRITE_TEST_PAIRS
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { launch } = require('./browser');

const [tool, writePairs] = process.argv.slice(2);

// Thread (CPU) time of each trace event name on the page's main thread, in ms,
// nested events counted in each.
function eventTotals(events) {
  const mains = events.filter((e) => e.name === 'thread_name' && e.args.name === 'CrRendererMain');
  const count = (m) => events.filter((e) => e.pid === m.pid && e.tid === m.tid).length;
  const main = mains.sort((a, b) => count(b) - count(a))[0];
  const totals = new Map();
  for (const e of events) {
    if (!main || e.pid !== main.pid || e.tid !== main.tid || e.ph !== "X" || !e.dur) continue;
    totals.set(e.name, (totals.get(e.name) || 0) + (e.tdur ?? e.dur) / 1000);
  }
  return [...totals].sort((a, b) => b[1] - a[1]).slice(0, 15);
}

// Self time of each script function in a CPU profile, in ms.
function functionTotals(profile) {
  const byId = new Map(profile.nodes.map((n) => [n.id, n]));
  const counts = new Map();
  profile.samples.forEach((id, k) => {
    const n = byId.get(id);
    const f = n.callFrame;
    const key = `${f.functionName || '(anonymous)'} ${f.url ? path.basename(f.url) : ''}:${f.lineNumber + 1}`;
    counts.set(key, (counts.get(key) || 0) + (profile.timeDeltas[k] || 0) / 1000);
  });
  return [...counts].sort((a, b) => b[1] - a[1]).slice(0, 25);
}

function wheelSteps(steps) {
  const svg = document.getElementById('view');
  const r = svg.getBoundingClientRect();
  for (const deltaY of steps) {
    svg.dispatchEvent(new WheelEvent('wheel', { deltaY, clientX: r.left + r.width / 2, clientY: r.top + 800, bubbles: true, cancelable: true }));
    void document.body.offsetHeight;
    svg.getBBox();
  }
}

async function main() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'view-profile-'));
  const browser = await launch('chromium');
  try {
    execFileSync(writePairs, [dir, '1000']);
    const html = path.join(dir, 'line.html');
    execFileSync(tool, ['view', path.join(dir, 'generated'), 'LINEA LUNGA', '300', '--out', html]);
    const page = await browser.newPage();
    await page.setViewport({ width: 1600, height: 900 });
    const cdp = await page.target().createCDPSession();
    await cdp.send('Profiler.enable');
    await cdp.send('Profiler.setSamplingInterval', { interval: 100 });
    for (const phase of ['load', 'wheel']) {
      await page.tracing.start({ categories: ['devtools.timeline', 'blink', 'v8.execute'] });
      await cdp.send('Profiler.start');
      if (phase === 'load') await page.goto('file://' + html, { waitUntil: 'load' });
      else await page.evaluate(wheelSteps, Array(20).fill(-100).concat(Array(20).fill(100)));
      const { profile } = await cdp.send('Profiler.stop');
      const trace = JSON.parse(Buffer.from(await page.tracing.stop()).toString());
      console.log(`== ${phase}: trace events (total ms, nested events counted in each)`);
      for (const [name, ms] of eventTotals(trace.traceEvents)) console.log(`  ${ms.toFixed(1).padStart(8)}  ${name}`);
      console.log(`== ${phase}: script functions (self ms)`);
      for (const [name, ms] of functionTotals(profile)) console.log(`  ${ms.toFixed(1).padStart(8)}  ${name}`);
    }
  } finally {
    await browser.close();
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

main().catch((e) => { console.error(e.stack); process.exit(1); });
