#pragma once

// The program's run is over: main returns once this is called. A web page's runtime ends, and
// the page says so, only when a callback of its own finds no work left; a main that returned
// after waiting for the browser (ASYNCIFY) was resumed from a promise, not such a callback, so
// the page must be given one. A desktop process simply ends.
void AnnounceRunEnd();
