// Debian's Chromium driven headless through puppeteer-core, which downloads
// no browser of its own: every check here runs in the system's browser.
'use strict';
const fs = require('fs');

const kChromium = process.env.CHROMIUM || '/usr/bin/chromium';

async function launch() {
  let puppeteer;
  try {
    puppeteer = require('puppeteer-core');
  } catch (e) {
    throw new Error(`puppeteer-core is not installed in ${__dirname}/node_modules: ` +
                    `run 'npm ci' there (scripts/test.sh does)`);
  }
  if (!fs.existsSync(kChromium)) throw new Error(`${kChromium} is missing: install Debian's package chromium`);
  return puppeteer.launch({
    executablePath: kChromium,
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
