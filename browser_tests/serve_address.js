// The address a `scenario_tool serve` child process says it listens at,
// read from its standard output; a server that ends first rejects.
'use strict';

function started(server) {
  return new Promise((resolve, reject) => {
    let out = '';
    server.stdout.on('data', (d) => {
      out += d;
      const m = out.match(/at (http:\/\/127\.0\.0\.1:\d+\/)/);
      if (m) resolve(m[1]);
    });
    server.on('exit', (code) => reject(new Error(`serve exited with ${code} before listening: ${out}`)));
  });
}

module.exports = { started };
