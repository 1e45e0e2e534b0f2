// Starts Debian's chromium headless for the tests and opens the built page in it.

import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const pagePath = process.env.TESSALY_PAGE || path.join(root, 'build/web/tessaly.html');
export const dataDir = path.join(root, 'tests/data');

export async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tessaly-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           `--user-data-dir=${profile}`],
    defaultViewport: { width: 1280, height: 900 },
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// A fresh page with the editor started; `query` is the page's query string. Downloads go to
// a folder of their own, given as page.downloads.
export async function openEditor(browser, { query = '', url = null, wait = true } = {}) {
  const page = await browser.newPage();
  page.downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'tessaly-downloads-'));
  const session = await page.createCDPSession();
  await session.send('Browser.setDownloadBehavior',
                     { behavior: 'allow', downloadPath: page.downloads });
  // Saves take the page's download road; the File System Access picker is a native window.
  await page.evaluateOnNewDocument(() => { delete window.showSaveFilePicker; });
  await page.goto(url || `file://${pagePath}${query}`);
  if (wait) await ready(page);
  return page;
}

// Until the program waits for its first event: everything is drawn.
export async function ready(page) {
  await page.waitForFunction(() => performance.getEntriesByName('tessaly-ready').length > 0,
                             { timeout: 20000 });
}
