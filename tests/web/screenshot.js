// Makes docs/screenshot-web.png: the page with a built-in set and the map panel.
// Usage: node tests/web/screenshot.js (after scripts/build-web).

import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { at, launch, menu, openEditor, settle } from './browser.js';

const target = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../docs/screenshot-web.png');
const browser = await launch();
const page = await openEditor(browser);
await page.setViewport({ width: 1040, height: 660 });
await menu(page, 'Char', 'Charset', 'C64 CAPS');
await menu(page, 'Char', 'Map', 'Atari/C64 40x24');
await page.$eval('[data-window="main"]', (e) => { e.style.left = '12px'; e.style.top = '12px'; });
await page.$eval('[data-window="map"]', (e) => { e.style.left = '480px'; e.style.top = '200px'; });
const [x, y] = await at(page, 'map', 200, 100);
await page.mouse.move(x + 1, y);
await page.mouse.move(x, y);
await settle(page);
await page.screenshot({ path: target });
await browser.close();
