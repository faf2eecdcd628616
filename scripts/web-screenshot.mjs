// Takes docs/browser-1920x1080.png again: the built site in headless Chromium, a name typed and a
// game played for a few items on an 800 x 600 page (where the test's player reads the cells), then
// the page made 1920 x 1080 and taken.
//   node scripts/web-screenshot.mjs [SITE_DIR] [OUT_PNG]   (after building the web-release preset)
import { resolve } from 'node:path';
import { join } from 'node:path';
import { serveSite, launchBrowser, sleep, atlasSprites, installScanner, playFor } from '../tests/web/web_lib.mjs';

const site = resolve(process.argv[2] || 'build/web-release/site');
const out = resolve(process.argv[3] || 'docs/browser-1920x1080.png');
setTimeout(() => process.exit(1), 150000).unref();

const server = await serveSite(site);
const browser = await launchBrowser();
try {
  const context = await browser.newContext({ viewport: { width: 800, height: 600 }, deviceScaleFactor: 1 });
  const page = await context.newPage();
  await page.goto(server.url);
  await page.waitForFunction(() => document.getElementById('screen').width === 800, null, { timeout: 20000 });
  await sleep(1000);
  await page.keyboard.press('Backspace');
  for (const key of ['Shift+KeyP', 'KeyI', 'KeyL', 'KeyO', 'KeyT']) await page.keyboard.press(key);
  await installScanner(page, atlasSprites(join(site, 'textures/icons.bmp')));
  await page.keyboard.press('Space');
  const played = await playFor(page, 5, 100);
  console.log(`ate ${played.pickups} items`);
  await page.setViewportSize({ width: 1920, height: 1080 });
  await page.waitForFunction(() => document.getElementById('screen').width === 1920, null, { timeout: 5000 });
  await sleep(150);
  await page.mouse.move(10, 10);
  await page.screenshot({ path: out });
  console.log(`wrote ${out}`);
} finally {
  await browser.close();
  await server.close();
}
