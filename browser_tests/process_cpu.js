// The CPU time of a process and every process under it, read from /proc
// (Linux): for benchmarks that count what a browser spends in all its
// processes (layout, paint, raster and compositing with the page's script).
'use strict';
const fs = require('fs');

const kTick = 1000 / 100;  // ms a clock tick of /proc's times (USER_HZ 100)

// [parent pid, CPU ms] of one process, or null when it has ended.
function stat(pid) {
  try {
    const text = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
    const fields = text.slice(text.lastIndexOf(')') + 2).split(' ');
    return [Number(fields[1]), (Number(fields[11]) + Number(fields[12])) * kTick];
  } catch (e) {
    return null;
  }
}

// The CPU time (ms) of `pid` and every process under it.
function treeCpu(pid) {
  const children = new Map();
  for (const name of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(name)) continue;
    const s = stat(name);
    if (!s) continue;
    if (!children.has(s[0])) children.set(s[0], []);
    children.get(s[0]).push({ pid: Number(name), cpu: s[1] });
  }
  let sum = stat(pid)?.[1] ?? 0;
  const walk = (p) => { for (const c of children.get(p) || []) { sum += c.cpu; walk(c.pid); } };
  walk(pid);
  return sum;
}

module.exports = { treeCpu };
