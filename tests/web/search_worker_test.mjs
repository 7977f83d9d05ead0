// SearchWorkerPage.cpp's checks of the search worker, on search.html in headless Chromium.
//
//   node search_worker_test.mjs PAGE_DIR
import { fail, openPage, runTest, testArgs, withChromium } from './harness.mjs';

const [pageDir] = testArgs('search_worker_test.mjs', 'PAGE_DIR');
const problems = [];
await runTest('search worker test', problems, () => withChromium(pageDir, async (browser, server) => {
  const page = await openPage(browser, server.origin, 'search page', problems,
    { address: '/search.html' });
  page.on('console', (message) => console.log(message.text()));
  await page.waitForFunction(() => window.searchTestDone === true, { timeout: 300000 });
  const failures = await page.evaluate(() => window.searchTestFailures);
  if (failures !== 0) fail(`${failures} checks failed`);
}));
