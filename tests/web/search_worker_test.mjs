// The browser's search worker in Debian's headless Chromium: search.html runs
// SearchWorkerPage.cpp beside the site's worker files, which compares the worker's answers with
// the inline search's and checks that a stopped worker is replaced.
//
//   node search_worker_test.mjs PAGE_DIR
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { launchBrowser, serveSite } from './harness.mjs';

const [pageDir] = process.argv.slice(2);
if (!pageDir) {
  console.error('usage: node search_worker_test.mjs PAGE_DIR');
  process.exit(2);
}
for (const file of ['search.html', 'search_worker_page.js', 'search-worker.js', 'octavane-search.js',
  'octavane-search.wasm']) {
  if (!fs.existsSync(path.join(pageDir, file))) {
    console.error(`search worker test: ${file} is missing from ${pageDir}`);
    process.exit(1);
  }
}

const problems = [];
const server = await serveSite(pageDir);
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'octavane-chromium-'));
const browser = await launchBrowser(profile);
try {
  const page = await browser.newPage();
  page.on('console', (message) => {
    console.log(message.text());
    if (message.type() === 'error') problems.push(`console: ${message.text()}`);
  });
  page.on('pageerror', (error) => problems.push(error.message));
  await page.goto(`${server.origin}/search.html`);
  await page.waitForFunction(() => window.searchTestDone === true, { timeout: 300000 });
  const failures = await page.evaluate(() => window.searchTestFailures);
  if (failures !== 0) problems.push(`${failures} checks failed`);
} catch (error) {
  problems.push(error.message);
} finally {
  await browser.close();
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
if (problems.length > 0) {
  console.error(`search worker test: failed\n  ${problems.join('\n  ')}`);
  process.exit(1);
}
