// Press-to-pixels time of the page's glyph editor against the floor page
// (bench/latency_floor.html), both in one headless chromium: from the mouse press dispatched
// through the DevTools protocol (the event's own time stamp, which the browser sets as it
// takes the press) to the first frame whose canvas pixels show the change, that frame's work
// on the page done (a requestAnimationFrame probe reading the pressed pixel, then a message
// after the frame). The presses alternate the left button (set) and the right one (clear);
// the pages take turns, a press each by default, so a slower stretch of a shared machine
// falls on both alike; a short pause of random length comes before each press (see
// `pause`). Prints per page the median, the 90th and 99th percentile and the
// slowest, in milliseconds, the ratios of the medians and of the 99th percentiles, and the
// machine's load.
// Usage: node bench/web_latency.js [--presses N] [--turn N] [--warm-up N], after
// scripts/build-web and npm ci in tests/web; scripts/bench web-latency does all three.

import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';
import { launch, openEditor } from '../tests/web/browser.js';

const { values } = parseArgs({ options: { presses: { type: 'string', default: '300' },
                                          turn: { type: 'string', default: '1' },
                                          'warm-up': { type: 'string', default: '100' } } });
const presses = Number(values.presses);
const turn = Number(values.turn);
const warmUp = Number(values['warm-up']);
const floorPath = path.join(path.dirname(fileURLToPath(import.meta.url)), 'latency_floor.html');

// In the page: every press on `selector` at canvas pixel (x, y) gives `window.lastPress`, a
// promise of its time to the first frame where that pixel differs from before the press.
function installProbe(selector, x, y) {
  const canvas = document.querySelector(selector);
  const context = canvas.getContext('2d');
  const pixel = () => context.getImageData(x, y, 1, 1).data.join();
  const afterFrame = (done) => {
    const channel = new MessageChannel();
    channel.port1.onmessage = done;
    channel.port2.postMessage(0);
  };
  window.addEventListener('pointerdown', (e) => {
    if (e.target !== canvas) return;
    const before = pixel();
    const start = e.timeStamp;
    window.lastPress = new Promise((resolve, reject) => {
      const give = setTimeout(() => reject(new Error('no change in 5 s')), 5000);
      const frame = () => {
        if (pixel() === before) { requestAnimationFrame(frame); return; }
        afterFrame(() => { clearTimeout(give); resolve(performance.now() - start); });
      };
      requestAnimationFrame(frame);
    });
  }, true);
}

async function prepare(page, selector, x, y) {
  await page.evaluate(installProbe, selector, x, y);
  const [px, py] = await page.evaluate((s, x, y) => {
    const r = document.querySelector(s).getBoundingClientRect();
    return [r.left + x + 0.5, r.top + y + 0.5];
  }, selector, x, y);
  await page.mouse.move(px, py);
  return { page, presses: 0, times: [] };
}

const browser = await launch();
const editor = await openEditor(browser);
// The glyph editor's pixel in column 6, row 7 and the middle of the floor page's square.
const subjects = {
  tessaly: await prepare(editor, 'canvas[data-control="glyph-editor"]', 16 * 6 + 8, 16 * 7 + 8),
};
// The floor page in a browser context of its own: a window of its own, shown beside the
// editor's, so that the two take turns press by press with no switching of tabs between.
const floorPage = await (await browser.createBrowserContext()).newPage();
await floorPage.goto(`file://${floorPath}`);
subjects.floor = await prepare(floorPage, 'canvas', 48, 48);

// Each press comes after a pause of `pause` to twice that, at random, as a person's do: at
// any moment of the browser's frame clock (60 a second) and to a page gone idle. Pressed
// back to back instead, the two pages' turns fall into step with that clock, one page's
// presses just before a frame and the other's just after, and which page draws the short
// lot changes from run to run (either page alone so pressed waits 13 ms a press).
const pause = 40; // ms

// `count` presses on a subject's page, left and right by turns; gives their times.
async function press(subject, count) {
  const times = [];
  for (let i = 0; i < count; i++) {
    const button = subject.presses++ % 2 ? 'right' : 'left';
    await subject.page.mouse.down({ button });
    times.push(await subject.page.evaluate(() => window.lastPress));
    await subject.page.mouse.up({ button });
    await new Promise((resolve) => setTimeout(resolve, pause + Math.random() * pause));
  }
  return times;
}

// Presses before the timed ones, left out: in its first seconds of presses V8 compiles the
// program's hottest functions again, optimised, in the background (the largest takes about
// a second of a core), and the page is measured as it runs after that.
for (const subject of Object.values(subjects)) await press(subject, warmUp);
await new Promise((resolve) => setTimeout(resolve, 1000));
for (let done = 0; done < presses; done += turn) {
  for (const subject of Object.values(subjects)) {
    subject.times.push(...await press(subject, Math.min(turn, presses - done)));
  }
}
await browser.close();

// The page's clocks give tenths of a millisecond.
const percentile = (sorted, p) => sorted[Math.min(sorted.length - 1, Math.floor(p / 100 * sorted.length))];
const median = (sorted) => (sorted[(sorted.length - 1) >> 1] + sorted[sorted.length >> 1]) / 2;
const figures = {};
for (const [name, subject] of Object.entries(subjects)) {
  const t = subject.times.slice().sort((a, b) => a - b);
  const f = figures[name] = { median: median(t), p90: percentile(t, 90), p99: percentile(t, 99),
                              max: t[t.length - 1] };
  console.log(`${name.padEnd(8)} median ${f.median.toFixed(2)} ms  p90 ${f.p90.toFixed(1)}` +
              `  p99 ${f.p99.toFixed(1)}  max ${f.max.toFixed(1)}  (${t.length} presses)`);
}
console.log(`ratio    median ${(figures.tessaly.median / figures.floor.median).toFixed(2)}` +
            `  p99 ${(figures.tessaly.p99 / figures.floor.p99).toFixed(2)}`);
const load = os.loadavg().map((l) => l.toFixed(2)).join(' ');
console.log(`load     ${load} (1, 5, 15 minutes) on ${os.cpus().length} cores`);
