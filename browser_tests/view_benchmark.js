// The line view's speed on a generated 1000 km line in Debian's headless
// Chromium, printed, never asserted (a benchmark, not a test):
// node view_benchmark.js SCENARIO_TOOL WRITE_TEST_PAIRS [ROUNDS]
// First render: from the start of navigation to the end of the load event
// (the page parsed, its data read, the whole line drawn). A wheel step: one
// wheel event's handler with the layout it causes, twenty steps in and
// twenty out over the objects panel, at 1600x900, starting one second after
// the load as an author's first wheel would (the page readies its drawing
// code while idle after the load). The first step made at once after the
// load is given apart. Each is given as wall time and as the CPU time of the
// page's main thread (from a trace), which a machine busy with other work
// changes much less. The wheel steps are then made again untraced and the
// CPU time of every process of the browser over them (from /proc: layout,
// paint, raster and compositing included) is given a step.
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { launch, openPage } = require('./browser');
const { treeCpu } = require('./process_cpu');

const [tool, writePairs, roundsArg] = process.argv.slice(2);
const rounds = Number(roundsArg || 5);

const median = (v) => { const s = v.slice().sort((a, b) => a - b); return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2; };

// Runs in the page: one wheel step, handler and layout; its wall time.
function wheelStep(deltaY) {
  const svg = document.getElementById('view');
  const r = svg.getBoundingClientRect();
  const t0 = performance.now();
  svg.dispatchEvent(new WheelEvent('wheel', { deltaY, clientX: r.left + r.width / 2, clientY: r.top + 800, bubbles: true, cancelable: true }));
  void document.body.offsetHeight;  // the layout the redraw causes
  svg.getBBox();
  return performance.now() - t0;
}

// The main thread's events of a trace, outermost first, as [start, end, cpu ms].
function outermost(traceEvents) {
  const mains = traceEvents.filter((e) => e.name === 'thread_name' && e.args.name === 'CrRendererMain');
  const count = (m) => traceEvents.filter((e) => e.pid === m.pid && e.tid === m.tid).length;
  const main = mains.sort((a, b) => count(b) - count(a))[0];
  const events = traceEvents.filter((e) => main && e.pid === main.pid && e.tid === main.tid && e.ph === 'X' && e.tdur !== undefined)
    .sort((a, b) => a.ts - b.ts || b.dur - a.dur);
  const out = [];
  for (const e of events) if (!out.length || e.ts >= out[out.length - 1][1]) out.push([e.ts, e.ts + e.dur, e.tdur / 1000]);
  return { out, events };
}

async function traced(page, action) {
  await page.tracing.start({ categories: ['toplevel', 'devtools.timeline', 'blink', 'v8.execute'] });
  await action();
  return JSON.parse(Buffer.from(await page.tracing.stop()).toString()).traceEvents;
}

async function main() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'view-bench-'));
  const browser = await launch('chromium');
  try {
    execFileSync(writePairs, [dir, '1000']);
    const html = path.join(dir, 'line.html');
    execFileSync(tool, ['view', path.join(dir, 'generated'), 'LINEA LUNGA', '300', '--out', html]);
    const firsts = [], firstCpus = [], steps = [], stepCpus = [], atOnce = [], allCpus = [];
    for (let k = 0; k < rounds; ++k) {
      const { page, errors } = await openPage(browser, 'about:blank', 1600, 900);
      const loading = await traced(page, () => page.goto('file://' + html, { waitUntil: 'load' }));
      if (errors.length) throw new Error(errors.join('; '));
      firsts.push(await page.evaluate(() => performance.getEntriesByType('navigation')[0].loadEventEnd));
      firstCpus.push(outermost(loading).out.reduce((sum, [, , cpu]) => sum + cpu, 0));
      await new Promise((resolve) => setTimeout(resolve, 1000));
      const deltas = Array(20).fill(-100).concat(Array(20).fill(100));
      const wheeling = await traced(page, async () => { for (const d of deltas) steps.push(await page.evaluate(wheelStep, d)); });
      // Each step is one task: the outermost event holding its wheel event.
      const { out, events } = outermost(wheeling);
      for (const e of events.filter((e) => e.name === 'EventDispatch' && e.args?.data?.type === 'wheel')) {
        const task = out.find(([start, end]) => start <= e.ts && e.ts < end);
        if (task) stepCpus.push(task[2]);
      }
      const before = treeCpu(browser.process().pid);
      for (const d of deltas) await page.evaluate(wheelStep, d);
      // The frames the last steps asked for are drawn before counting.
      await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
      allCpus.push((treeCpu(browser.process().pid) - before) / deltas.length);
      await page.close();
      const soon = await openPage(browser, 'about:blank', 1600, 900);
      await soon.page.goto('file://' + html, { waitUntil: 'load' });
      atOnce.push(await soon.page.evaluate(wheelStep, -100));
      await soon.page.close();
    }
    const f = (v) => v.toFixed(1);
    console.log(`page: ${(fs.statSync(html).size / 1e6).toFixed(1)} MB, ${rounds} loads, ${steps.length} wheel steps (Chromium ${await browser.version()}), load average ${os.loadavg().map((l) => l.toFixed(1)).join(' ')}`);
    console.log(`first render: median ${f(median(firsts))} ms, max ${f(Math.max(...firsts))} ms; main thread CPU median ${f(median(firstCpus))} ms, max ${f(Math.max(...firstCpus))} ms`);
    console.log(`wheel step:   median ${f(median(steps))} ms, max ${f(Math.max(...steps))} ms; main thread CPU median ${f(median(stepCpus))} ms, max ${f(Math.max(...stepCpus))} ms (${stepCpus.length} steps traced)`);
    console.log(`wheel step, CPU of all the browser's processes: median ${f(median(allCpus))} ms a step, max ${f(Math.max(...allCpus))} ms (the mean of ${rounds} rounds of 40 steps each)`);
    console.log(`first wheel step at once after the load: median ${f(median(atOnce))} ms, max ${f(Math.max(...atOnce))} ms (${atOnce.length} loads)`);
  } finally {
    await browser.close();
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

main().catch((e) => { console.error(e.stack); process.exit(1); });
