// The tally the node tests keep: check(ok, what) counts a check that held
// and keeps the words of one that failed; finish(name) prints the failures
// and the counts and ends the run, failing when any check failed.
'use strict';
const failures = [];
let passed = 0;

function check(ok, what) {
  if (ok) ++passed;
  else failures.push(what);
}

function finish(name) {
  for (const f of failures) console.error(`FAILED: ${f}`);
  console.log(`${name}: ${passed} passed, ${failures.length} failed`);
  process.exit(failures.length ? 1 : 0);
}

module.exports = { check, fail: (what) => failures.push(what), finish };
