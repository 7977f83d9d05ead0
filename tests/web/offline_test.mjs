// The site as an installed app meets a phone's life, in headless Chromium: offline after the first
// visit, a reload starts a game the computer answers; a game outlives its page (closed without a
// word) until Escape leaves it; a rebuilt site is taken after one reload, its old cache gone; the
// manifest's icons are there at their sizes.
//
//   node offline_test.mjs SITE_DIR OUT_DIR SCREEN_POINT_JS CMAKE WEB_SOURCE_DIR VERSION
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { brightness } from './png.mjs';
import { lit, puppeteerView, squareLuminance, waitForShot } from './board.mjs';
import {
  fail, openPage, pageFile, press, runTest, sleep, testArgs, waitForFile, waitUntil, whenStored,
  withChromium,
} from './harness.mjs';

const [siteDir, outDir, screenPointJs, cmake, webDir, version] = testArgs('offline_test.mjs',
  'SITE_DIR', 'OUT_DIR', 'SCREEN_POINT_JS', 'CMAKE', 'WEB_SOURCE_DIR', 'VERSION');
const problems = [];
const keptGameFile = '/home/web_user/.config/Bellwick/Octavane/game.txt';

// The site's folder, as an installed app starts it, in a page of its own.
async function openSite(browser, origin, label) {
  const page = await openPage(browser, origin, label, problems, { address: '/' });
  return puppeteerView(page, outDir, screenPointJs, false);
}
const shotWhen = (view, name, ready, seconds = 60) =>
  waitForShot(view, `offline-${name}`, ready, 'the expected screen', seconds);

const waitForKeptGame = (view, test, what) => waitForFile(view.page, keptGameFile, test, what);

const pliesOf = (text) => ((text.match(/^plies(.*)$/m) || [])[1] || '').trim();

// A disc on "c4", seen in the play view (the whole board lit), not during a move's animation.
const discOnSquare = (view, empty) => (image) =>
  brightness(image) > 0.1 && squareLuminance(view, image, 2, 3) < empty - 20;

const siteCaches = (view) => view.page.evaluate(async () => Promise.all((await caches.keys())
  .map(async (name) => ({ name, files: (await (await caches.open(name)).keys()).length }))));

// Waits until the page keeps one cache, `name`, of `files` files (any number when 0).
const waitForCaches = (view, name, files, what) => waitUntil(30, () => siteCaches(view),
  (kept) => kept.length === 1 && kept[0].name === name && (!files || kept[0].files === files),
  (kept) => `${what}: the caches are ${JSON.stringify(kept)}`);

const cacheNameOf = (dir) =>
  (fs.readFileSync(path.join(dir, 'sw.js'), 'utf8').match(/CACHE_NAME = '([^']+)'/) || [])[1];

// Leaves the offline game in play, its first move "c4" answered.
async function offlineStart(browser, server) {
  const view = await openSite(browser, server.origin, 'first visit');
  await shotWhen(view, 'first-title', lit);
  await view.page.waitForFunction(() => navigator.serviceWorker?.controller, { timeout: 60000 });
  const files = fs.readdirSync(siteDir, { recursive: true })
    .filter((name) => fs.statSync(path.join(siteDir, name)).isFile() && name !== 'sw.js');
  const cacheName = cacheNameOf(siteDir);
  if (!new RegExp(`^octavane-${version.replace(/\./g, '\\.')}-[0-9a-f]{16}$`).test(cacheName)) {
    fail(`the cache is named ${cacheName}`);
  }
  await waitForCaches(view, cacheName, files.length, 'the first visit');
  console.log(`first visit: ${files.length} files kept in ${cacheName}`);

  server.setDown(true);
  await view.page.setOfflineMode(true);
  await view.page.reload();
  await shotWhen(view, 'offline-title', lit);
  await press(view.page, 'Space', 'Space', 'Space'); // menu, "1 Player Game (Black)", "Normal"
  await sleep(2500);
  const empty = squareLuminance(view, await shotWhen(view, 'offline-game', lit), 2, 3);
  await press(view.page, 'ArrowLeft', 'Space'); // c4
  const text = await waitForKeptGame(view, (t) => /^plies c4 \S\S$/m.test(t),
    'the computer\'s answer offline');
  await shotWhen(view, 'offline-answered', discOnSquare(view, empty), 20);
  console.log(`offline: the game went ${pliesOf(text)}`);
  await view.page.setOfflineMode(false);
  server.setDown(false);
  return { view, empty, plies: pliesOf(text) };
}

// A dropped tab runs none of its last events: the game must already be stored. Its undo is the
// desktop's, tested there; here, that Escape's removal is stored too.
async function gameOutlivesPage(browser, server, { view, empty, plies }) {
  await whenStored(view.page);
  await view.page.close({ runBeforeUnload: false });
  const next = await openSite(browser, server.origin, 'after the close');
  const text = await waitForKeptGame(next, (t) => t !== '', 'the next page');
  if (pliesOf(text) !== plies) fail(`the next page has the game ${pliesOf(text)}, not ${plies}`);
  await sleep(3000); // the opening glide to the play view
  await shotWhen(next, 'resumed', discOnSquare(next, empty), 20);
  await press(next.page, 'Escape');
  await waitForKeptGame(next, (t) => t === '', 'Escape');
  await whenStored(next.page);
  await next.page.reload();
  await shotWhen(next, 'after-escape', lit);
  await sleep(1500);
  if (await pageFile(next.page, keptGameFile) !== '') fail('a game left with Escape came back');
  return next;
}

// The manifest as Chromium reads it for installing: its icons there at the sizes it names.
async function manifest(page, origin) {
  const text = fs.readFileSync(path.join(siteDir, 'manifest.webmanifest'), 'utf8');
  const data = JSON.parse(text);
  if (data.name !== 'Octavane' || !data.short_name || !data.start_url ||
      !['standalone', 'fullscreen'].includes(data.display) || data.background_color !== '#000000') {
    fail(`the manifest is incomplete: ${text}`);
  }
  const found = await page.evaluate(async (icons) => Promise.all(icons.map(async (icon) => {
    const image = new Image();
    image.src = icon.src;
    await image.decode();
    return `${image.naturalWidth}x${image.naturalHeight} ${icon.purpose}`;
  })), data.icons);
  for (const size of ['192x192 any', '512x512 any', '512x512 maskable']) {
    if (!found.includes(size)) fail(`no ${size} icon: ${found}`);
  }
  const link = await page.evaluate(() => document.querySelector('link[rel="manifest"]').href);
  if (link !== `${origin}/manifest.webmanifest`) fail(`the page links ${link}`);
}

async function rebuiltSite(server, view) {
  const rebuilt = fs.mkdtempSync(path.join(os.tmpdir(), 'octavane-rebuilt-'));
  fs.cpSync(siteDir, rebuilt, { recursive: true });
  const index = path.join(rebuilt, 'index.html');
  fs.writeFileSync(index, fs.readFileSync(index, 'utf8')
    .replace('<head>', '<head>\n<meta name="octavane-build" content="rebuilt">'));
  execFileSync(cmake, [`-DSITE_DIR=${rebuilt}`, `-DTEMPLATE=${path.join(webDir, 'sw.js.in')}`,
    `-DVERSION=${version}`, '-P', path.join(webDir, 'SiteCache.cmake')]);
  const newName = cacheNameOf(rebuilt);
  if (!newName || newName === cacheNameOf(siteDir)) {
    fail(`the rebuilt site's cache is named ${newName} again`);
  }
  server.setFolder(rebuilt);
  try {
    await view.page.reload();
    // The page loads itself once more when the new site takes over: asked across that load.
    await waitUntil(60, () => view.page.evaluate(() =>
      !!document.querySelector('meta[name="octavane-build"]')).catch(() => false), (taken) => taken,
    () => 'the rebuilt site was not taken after a reload');
    await shotWhen(view, 'rebuilt-title', lit);
    await waitForCaches(view, newName, 0, 'after the rebuild');
  } finally {
    server.setFolder(siteDir);
    fs.rmSync(rebuilt, { recursive: true, force: true });
  }
}

await runTest('offline test', problems, () => withChromium(siteDir, async (browser, server) => {
  const view = await gameOutlivesPage(browser, server, await offlineStart(browser, server));
  await manifest(view.page, server.origin);
  await rebuiltSite(server, view);
}));
