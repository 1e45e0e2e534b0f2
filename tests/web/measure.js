// Figures of the browser build: the page's size, the time from navigation to the first full
// paint, and press to pixels (pointerdown to the glyph editor's canvas updated) over 300
// presses. Usage: node tests/web/measure.js (after scripts/build-web).

import fs from 'node:fs';
import zlib from 'node:zlib';
import { at, launch, openEditor, pagePath, settle } from './browser.js';

const page = fs.readFileSync(pagePath);
console.log(`page: ${page.length} bytes, ${zlib.gzipSync(page, { level: 9 }).length} gzipped`);

const browser = await launch();
const starts = [];
for (let run = 0; run < 5; run++) {
  const tab = await browser.newPage();
  // The frame after the program first waits for an event: everything drawn and shown.
  await tab.evaluateOnNewDocument(() => {
    new PerformanceObserver((list) => {
      if (!list.getEntriesByName('tessaly-ready').length) return;
      requestAnimationFrame(() => setTimeout(() => { window.fullPaint = performance.now(); }));
    }).observe({ type: 'mark' });
  });
  await tab.goto(`file://${pagePath}`);
  await tab.waitForFunction(() => window.fullPaint !== undefined);
  starts.push(await tab.evaluate(() => window.fullPaint));
  await tab.close();
}
starts.sort((a, b) => a - b);
console.log(`navigation to first full paint: median ${starts[2].toFixed(1)} ms ` +
            `(of 5: ${starts.map((t) => t.toFixed(1)).join(', ')})`);

const editor = await openEditor(browser);
await editor.evaluate(() => {
  window.presses = [];
  window.updates = [];
  const canvas = document.querySelector('canvas[data-control="glyph-editor"]');
  canvas.addEventListener('pointerdown', (e) => window.presses.push(e.timeStamp));
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    put.apply(this, args);
    if (this.canvas === canvas) window.updates.push(performance.now());
  };
});
for (let i = 0; i < 300; i++) {
  const [x, y] = await at(editor, 'glyph-editor', 16 * (i % 8) + 8, 16 * ((i >> 3) % 8) + 8);
  await editor.mouse.move(x, y);
  await editor.mouse.down();
  await editor.mouse.up();
  await settle(editor);
}
const latencies = await editor.evaluate(() => window.presses.map((t) =>
  window.updates.find((u) => u >= t) - t));
latencies.sort((a, b) => a - b);
const q = (p) => latencies[Math.min(latencies.length - 1, Math.floor(p * latencies.length))];
console.log(`press to pixels over ${latencies.length} presses: median ${q(0.5).toFixed(2)} ms, ` +
            `p99 ${q(0.99).toFixed(2)} ms, max ${latencies[latencies.length - 1].toFixed(2)} ms`);
await browser.close();
