// Debian's Chromium and Firefox driven headless through puppeteer-core, which
// downloads no browser of its own: every check here runs in the system's
// browsers.
'use strict';
const fs = require('fs');

const kBrowsers = {
  chromium: { path: process.env.CHROMIUM || '/usr/bin/chromium', pkg: 'chromium' },
  firefox: { path: process.env.FIREFOX || '/usr/bin/firefox-esr', pkg: 'firefox-esr' },
};

// `kind`: 'chromium' or 'firefox'.
async function launch(kind = 'chromium') {
  let puppeteer;
  try {
    puppeteer = require('puppeteer-core');
  } catch (e) {
    throw new Error(`puppeteer-core is not installed in ${__dirname}/node_modules: ` +
                    `run 'npm ci' there (scripts/test.sh does)`);
  }
  const { path, pkg } = kBrowsers[kind];
  if (!fs.existsSync(path)) throw new Error(`${path} is missing: install Debian's package ${pkg}`);
  if (kind === 'firefox') return puppeteer.launch({ browser: 'firefox', executablePath: path, headless: true });
  return puppeteer.launch({
    executablePath: path,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--allow-file-access-from-files', '--font-render-hinting=none'],
  });
}

// A page that records every console error and uncaught page error.
async function openPage(browser, url, width, height) {
  const page = await browser.newPage();
  const errors = [];
  page.on('console', (m) => { if (m.type() === 'error') errors.push(`console: ${m.text()}`); });
  page.on('pageerror', (e) => errors.push(`page error: ${e.message}`));
  page.on('requestfailed', (r) => errors.push(`request failed: ${r.url()}`));
  await page.setViewport({ width, height });
  await page.goto(url, { waitUntil: 'load' });
  return { page, errors };
}

module.exports = { launch, openPage };
