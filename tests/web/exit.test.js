// The ways the program ends, and the Escape that must not end it.

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { dialog, launch, menu, openEditor, ready, settle } from './browser.js';

let browser;
before(async () => { browser = await launch(); });
after(() => browser.close());

const ended = (page) => page.waitForSelector('[data-ended]', { timeout: 5000 });

for (const [name, end] of [
  ['Escape', (page) => page.keyboard.press('Escape')],
  ['File > Quit', (page) => menu(page, 'File', 'Quit')],
  ['the main window\'s close box', (page) => page.click('[data-window="main"] .caption .close')],
]) {
  test(`${name} ends the program and leaves a page that starts it again`, async () => {
    const page = await openEditor(browser);
    await end(page);
    const note = await ended(page);
    assert.equal(await note.$eval('h1', (e) => e.textContent), 'Tessaly has ended.');
    assert.equal(await page.$('[data-window]'), null);
    await Promise.all([page.waitForNavigation(), note.$eval('a', (e) => e.click())]);
    await ready(page);
    assert.equal(await page.title(), 'tessaly v2 0.9c');
    await page.close();
  });
}

test('an Escape that closes a dialog, a popup or a menu does not end the program', async () => {
  const page = await openEditor(browser);
  await menu(page, 'Char', 'Color for bit=0...');
  await dialog(page, 'colour');
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => !document.querySelector('[data-dialog]'));
  await page.click('[data-window="main"] .menutitle');
  await page.keyboard.press('Escape');
  await page.mouse.click(...await page.$eval('canvas[data-control="overview"]', (c) => {
    const r = c.getBoundingClientRect();
    return [r.left + 20, r.top + 20];
  }), { button: 'right' });
  await page.waitForSelector('.popup:not([hidden])');
  await page.keyboard.press('Escape');
  await settle(page);
  assert.equal(await page.$('[data-ended]'), null);
  assert.equal(await page.$eval('.popup', (e) => e.hidden), true);
  await page.close();
});
