// Served over http, the built folder is an app to install that starts offline after one
// visit: its manifest passes the browser's own checks, its service worker takes the page, and
// with the network off and the server gone the page starts again.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { launch, pagePath, ready } from './browser.js';

const folder = path.dirname(pagePath);
const types = { '.html': 'text/html', '.js': 'text/javascript', '.png': 'image/png',
                '.webmanifest': 'application/manifest+json' };

let browser;
before(async () => { browser = await launch(); });
after(() => browser.close());

test('installable over http, and starts offline after one visit', async () => {
  // The folder as a plain static server serves it.
  const server = http.createServer((request, response) => {
    let name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    if (name.endsWith('/')) name += 'index.html';
    const file = path.join(folder, path.basename(name));
    if (!fs.existsSync(file)) { response.writeHead(404).end(); return; }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' })
      .end(fs.readFileSync(file));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const base = `http://127.0.0.1:${server.address().port}/`;
  const page = await browser.newPage();
  try {
    // The folder's own address leads to the page.
    await page.goto(base);
    await page.waitForFunction(() => location.pathname === '/tessaly.html');
    await ready(page);
    // The worker is active (ready) before it has claimed the page, and it claims the page
    // before it is activated: wait for each in turn.
    assert.equal(await page.evaluate(async () => {
      const workers = navigator.serviceWorker;
      await workers.ready;
      if (!workers.controller)
        await new Promise((resolve) => workers.addEventListener('controllerchange', resolve, { once: true }));
      const worker = workers.controller;
      while (worker.state === 'activating')
        await new Promise((resolve) => worker.addEventListener('statechange', resolve, { once: true }));
      return worker.state;
    }), 'activated');
    const session = await page.createCDPSession();
    const manifest = await session.send('Page.getAppManifest');
    assert.deepEqual(manifest.errors, []);
    assert.deepEqual((await session.send('Page.getInstallabilityErrors')).installabilityErrors, []);

    server.closeAllConnections();
    await new Promise((resolve) => server.close(resolve));
    await session.send('Network.enable');
    await session.send('Network.emulateNetworkConditions',
                       { offline: true, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
    await page.goto(base);
    await page.waitForFunction(() => location.pathname === '/tessaly.html');
    await ready(page);
    // The page with a query is still the page kept; the file it names is not kept, and is
    // missing as a missing file is.
    await page.goto(`${base}tessaly.html?file=letter_a.fnt`);
    const box = await page.waitForSelector('[data-dialog="message"]', { timeout: 10000 });
    assert.equal(await box.$eval('.caption', (e) => e.textContent), 'No file');
  } finally {
    await page.close();
    server.close();
  }
});

test('from disk: no service worker, no manifest', async () => {
  const page = await browser.newPage();
  await page.goto(`file://${pagePath}`);
  await ready(page);
  assert.deepEqual(await page.evaluate(() => [
    document.querySelectorAll('link[rel="manifest"]').length,
    !!(navigator.serviceWorker && navigator.serviceWorker.controller)]), [0, false]);
  await page.close();
});
