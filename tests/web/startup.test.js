// The page at start: titles, windows, the first pixels and how they show on screen, and the
// command line's ?file=URL.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { BLACK, MARKER, WHITE, click, cell, dataDir, launch, openEditor, pagePath, pixels,
         waitTitle, windowTitle, dialog } from './browser.js';

let browser;
before(async () => { browser = await launch(); });
after(() => browser.close());

test('the title, the hidden map panel and the first pixels', async () => {
  const page = await openEditor(browser);
  assert.equal(await page.title(), 'tessaly v2 0.9c');
  assert.equal(await windowTitle(page, 'main'), 'tessaly v2 0.9c');
  assert.equal(await page.$eval('[data-window="map"]', (e) => e.hidden), true);
  const sizes = await page.$$eval('canvas', (list) =>
    Object.fromEntries(list.map((c) => [c.dataset.control, [c.width, c.height]])));
  assert.deepEqual(sizes, { overview: [260, 260], 'glyph-editor': [128, 128], map: [1280, 800] });

  const overview = await pixels(page, 'overview');
  for (let code = 0; code < 256; code++) {
    const [x0, y0] = [16 * (code % 16), 16 * Math.floor(code / 16)];
    for (let y = 0; y < 16; y++) {
      for (let x = 0; x < 16; x++) {
        const want = code === 0 && (x + y) % 2 ? MARKER : BLACK;
        assert.deepEqual(overview(x0 + x, y0 + y), want, `cell ${code} at ${x},${y}`);
      }
    }
  }
  const glyph = await pixels(page, 'glyph-editor');
  for (let i = 0; i < 8; i++) {
    for (let d = 0; d < 128; d += 2) {
      assert.deepEqual([glyph(16 * i, d), glyph(16 * i, d + 1)], [WHITE, BLACK], `grid ${i} ${d}`);
      assert.deepEqual([glyph(d, 16 * i), glyph(d + 1, 16 * i)], [WHITE, BLACK], `grid ${i} ${d}`);
    }
  }
  assert.equal(await page.$eval('[data-control="data-field"]', (e) => e.value), '0,0,0,0,0,0,0,0');
  assert.equal(await page.$eval('[data-control="shift-left"]', (e) => e.title), 'shift left');
  await page.close();
});

// Each canvas pixel shows as a whole number of device pixels of its own colour.
// A fractional ratio is zoomed to the nearest whole one.
for (const ratio of [1, 2, 3, 1.25, 1.5]) {
  test(`the canvases show crisp at devicePixelRatio ${ratio}`, async () => {
    const page = await browser.newPage();
    await page.setViewport({ width: 1000, height: 700, deviceScaleFactor: ratio });
    await page.goto(`file://${pagePath}`);
    await page.waitForFunction(() => performance.getEntriesByName('tessaly-ready').length > 0);
    const box = await page.$eval('canvas[data-control="glyph-editor"]', (c) => {
      const r = c.getBoundingClientRect();
      return { x: r.left, y: r.top, width: r.width, height: r.height };
    });
    const whole = Math.round(ratio);
    assert.deepEqual([Math.round(box.width * ratio), Math.round(box.height * ratio)],
                     [128 * whole, 128 * whole]);
    // The whole page in device pixels. Inside the canvas every one is black or white, never
    // a blend, and every run of one colour along a row is a whole number of canvas pixels.
    // (Under a page zoom the canvas may start part way into a device pixel, which shows a
    // blend: the pixels at the edges are left out.)
    const [left, top] = [box.x * ratio, box.y * ratio].map((v) => Math.ceil(v) + 1);
    const size = 128 * whole - 3;
    // The screenshot's pixels, read by the browser itself, one text per row.
    const rows = await page.evaluate(async (png, left, top, size) => {
      const image = new Image();
      image.src = `data:image/png;base64,${png}`;
      await image.decode();
      const g = Object.assign(document.createElement('canvas'), { width: image.width,
                                                                   height: image.height }).getContext('2d');
      g.drawImage(image, 0, 0);
      const data = g.getImageData(left, top, size, size).data;
      return [...Array(size).keys()].map((y) => [...Array(size).keys()].map((x) =>
        Array.from(data.subarray(4 * (y * size + x), 4 * (y * size + x) + 3)).join()));
    }, await page.screenshot({ encoding: 'base64' }), left, top, size);
    rows.forEach((row, y) => {
      assert.ok(row.every((c) => c === '0,0,0' || c === '255,255,255'), `a blend in row ${y}`);
      const runs = [];
      row.forEach((c, i) => { if (i && c === row[i - 1]) runs[runs.length - 1]++; else runs.push(1); });
      for (const run of runs.slice(1, -1)) assert.equal(run % whole, 0, `row ${y}: runs ${runs}`);
    });
    await page.close();
  });
}

test('?file=URL loads the set over http; a missing one says so', async () => {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = name === '/tessaly.html' ? pagePath : path.join(dataDir, path.basename(name));
    if (!fs.existsSync(file)) { response.writeHead(404).end(); return; }
    response.writeHead(200).end(fs.readFileSync(file));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const base = `http://127.0.0.1:${server.address().port}/tessaly.html`;
  try {
    const letter = fs.readFileSync(path.join(dataDir, 'letter_a.fnt'));
    let page = await openEditor(browser, { url: `${base}?file=letter_a.fnt` });
    const overview = await pixels(page, 'overview');
    // The 8 bytes land on glyph 0; the cursor marker takes the odd pixels of its cell.
    for (let y = 0; y < 8; y++) {
      for (let x = 0; x < 8; x++) {
        const lit = (letter[y] >> (7 - x)) & 1;
        assert.deepEqual(overview(2 * x, 2 * y), lit ? WHITE : BLACK, `'A' row ${y} bit ${x}`);
      }
    }
    await page.close();

    page = await openEditor(browser, { url: `${base}?file=no%20such.fnt`, wait: false });
    const box = await dialog(page, 'message');
    assert.equal(await box.$eval('.caption', (e) => e.textContent), 'No file');
    assert.match(await box.$eval('.message', (e) => e.textContent), /no such\.fnt$/);
    await box.$eval('button', (e) => e.click());
    await click(page, 'overview', ...cell(66));
    await waitTitle(page, 'main', "tessaly v2 0.9c 66($42)'B'");
    await page.close();
  } finally {
    server.close();
  }
});
