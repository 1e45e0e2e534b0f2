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

// A fresh page with the editor started; `query` is the page's query string, `touch` makes
// the screen a touch screen, `scale` is its devicePixelRatio. Downloads go to a folder of
// their own, given as page.downloads.
export async function openEditor(browser,
                                 { query = '', url = null, wait = true, touch = false, scale = 1 } = {}) {
  const page = await browser.newPage();
  if (touch || scale !== 1)
    await page.setViewport({ ...page.viewport(), hasTouch: touch, deviceScaleFactor: scale });
  page.downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'tessaly-downloads-'));
  const session = await page.createCDPSession();
  await session.send('Browser.setDownloadBehavior',
                     { behavior: 'allow', downloadPath: page.downloads });
  // Saves take the page's download road; the File System Access picker is a native window.
  await page.evaluateOnNewDocument(() => { delete window.showSaveFilePicker; });
  // File choosers go to the tests from the start: waitForFileChooser only asks for that when
  // called, and a chooser the page opens before the browser has heard would be a real one.
  await page._client().send('Page.setInterceptFileChooserDialog', { enabled: true });
  await page.goto(url || `file://${pagePath}${query}`);
  await page.bringToFront();
  if (wait) await ready(page);
  return page;
}

// Until the program waits for its first event: everything is drawn.
export async function ready(page) {
  await page.waitForFunction(() => performance.getEntriesByName('tessaly-ready').length > 0,
                             { timeout: 20000 });
}

// --- What a user sees and does, in the page's own terms.

export const BLACK = [0, 0, 0];
export const WHITE = [255, 255, 255];
export const MARKER = [0, 255, 127];

// The drawing area of a canvas as a function (x, y) -> [r, g, b], read from its pixels.
export async function pixels(page, control) {
  const { w, data } = await page.evaluate((name) => {
    const canvas = document.querySelector(`canvas[data-control="${name}"]`);
    const border = name === 'overview' ? 2 : 0;
    const w = canvas.width - 2 * border;
    const image = canvas.getContext('2d').getImageData(border, border, w, canvas.height - 2 * border);
    return { w, data: Array.from(image.data) };
  }, control);
  return (x, y) => data.slice(4 * (y * w + x), 4 * (y * w + x) + 3);
}

// The page position of drawing-area pixel (x, y) of a canvas.
export async function at(page, control, x, y) {
  const box = await page.evaluate((name) => {
    const canvas = document.querySelector(`canvas[data-control="${name}"]`);
    const r = canvas.getBoundingClientRect();
    return { left: r.left, top: r.top, scale: r.width / canvas.width,
             border: name === 'overview' ? 2 : 0 };
  }, control);
  return [box.left + (box.border + x + 0.5) * box.scale, box.top + (box.border + y + 0.5) * box.scale];
}

export async function click(page, control, x, y, options = {}) {
  const [px, py] = await at(page, control, x, y);
  await page.mouse.click(px, py, options);
}

export const cell = (code) => [16 * (code % 16) + 8, 16 * Math.floor(code / 16) + 8];

export function windowTitle(page, window) {
  return page.$eval(`[data-window="${window}"] .caption .title`, (e) => e.textContent);
}

export async function waitTitle(page, window, title) {
  await page.waitForFunction((w, t) =>
    document.querySelector(`[data-window="${w}"] .caption .title`).textContent === t,
  { timeout: 5000 }, window, title).catch(async () => {
    throw new Error(`title ${JSON.stringify(await windowTitle(page, window))}, not ${title}`);
  });
}

// Until the program has taken every queued event and waits again, its text fields written.
export async function settle(page) {
  await page.waitForFunction(() => Page.wake !== null && Page.queue.length === 0 && !Page.waking,
                             { timeout: 5000 });
}

// The menu entry under `scope` that reads `text`.
export async function entry(page, scope, text) {
  const element = (await page.evaluateHandle((scope, text) =>
    Array.from(document.querySelectorAll(scope)).find((e) =>
      (e.querySelector(':scope > .text') || e).firstChild.textContent === text), scope, text)).asElement();
  if (!element) throw new Error(`no menu entry ${text}`);
  return element;
}

// Chooses a menu item by its texts, as a user does: the title, then any submenus, the item.
export async function menu(page, ...texts) {
  await (await entry(page, '[data-window="main"] .menutitle', texts[0])).click();
  for (const text of texts.slice(1, -1)) await (await entry(page, '.menutitle.open li.submenu', text)).hover();
  await (await entry(page, '.menutitle.open li.item', texts[texts.length - 1])).click();
}

// Chooses `text` in the popup menu that is open.
export async function popupItem(page, text) {
  await page.waitForSelector('.popup:not([hidden])');
  await (await entry(page, '.popup:not([hidden]) li.item', text)).click();
}

export async function dialog(page, name) {
  return page.waitForSelector(`[data-dialog="${name}"]`, { timeout: 5000 });
}

// Answers the page's save dialog with `name`; gives the downloaded file's bytes.
export async function saveAs(page, name, file) {
  const box = await dialog(page, 'save');
  await box.$eval('input[data-field="name"]', (e, n) => { e.value = n; }, name);
  await box.$eval('button[data-button="ok"]', (e) => e.click());
  const target = path.join(page.downloads, file);
  for (let i = 0; i < 100 && !fs.existsSync(target); i++) await new Promise((r) => setTimeout(r, 50));
  return fs.readFileSync(target);
}

// Opens `file` through Ctrl+O, the page's Open dialog with the file type `type` chosen (as
// its list names it; the first one when not given), and the browser's file chooser.
export async function openFile(page, file, type = null) {
  await page.keyboard.down('Control');
  await page.keyboard.press('o');
  await page.keyboard.up('Control');
  const box = await dialog(page, 'open');
  if (type) {
    await box.$eval('select[data-field="type"]', (e, t) => {
      e.value = Array.from(e.options).find((o) => o.text === t).value;
    }, type);
  }
  const [chooser] = await Promise.all([page.waitForFileChooser({ timeout: 5000 }),
                                       box.$('[data-button="choose"]').then((b) => b.click())]);
  await chooser.accept([file]);
  await page.waitForFunction(() => !document.querySelector('[data-dialog="open"]'));
  await settle(page);
}

export function tempFile(name, bytes) {
  const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'tessaly-data-')), name);
  fs.writeFileSync(file, bytes);
  return file;
}
