// SearchWorkerPage.cpp's checks of the search worker, on search.html in headless Chromium.
//
//   node search_worker_test.mjs PAGE_DIR
import { fail, runTest, testArgs, watchErrors, withChromium } from './harness.mjs';

const [pageDir] = testArgs('search_worker_test.mjs', 'PAGE_DIR');
const problems = [];
await runTest('search worker test', problems, () => withChromium(pageDir, async (browser, server) => {
  const page = await browser.newPage();
  watchErrors(page, 'search page', problems);
  page.on('console', (message) => console.log(message.text()));
  await page.goto(`${server.origin}/search.html`);
  await page.waitForFunction(() => window.searchTestDone === true, { timeout: 300000 });
  const failures = await page.evaluate(() => window.searchTestFailures);
  if (failures !== 0) fail(`${failures} checks failed`);
}));
