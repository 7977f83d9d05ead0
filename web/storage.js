// The settings file lives in the browser's IndexedDB (emscripten's IDBFS), mounted over the
// folder the program keeps it in ($HOME/.config) and read in before the program starts. The
// program's own fsync of the file it saves already writes the folder back (emscripten's fsync
// waits for IndexedDB in an ASYNCIFY build); Module.octavaneFileStored, called after each save,
// does so again whatever the build, and lets the page wait for the last write
// (Module.octavaneWhenStored) before it starts the game again.
//
// Each write-back stores whole files, one IndexedDB transaction at a time, so two tabs that
// save at once leave the file of one of them, never a mix; the last tab to save wins.
// Where IndexedDB cannot be used (some private windows) the game plays on with first-run
// settings and a warning in the console.

(function () {
  var settingsFolder = '/home/web_user/.config';
  var writing = false;
  var writeAgain = false;
  var waiting = [];

  var written = function (error) {
    if (error) {
      console.warn('Octavane: the settings could not be kept in the browser:', error);
    }
    if (writeAgain) {
      writeAgain = false;
      FS.syncfs(false, written);
      return;
    }
    writing = false;
    waiting.splice(0).forEach(function (callback) {
      callback();
    });
  };

  Module['octavaneFileStored'] = function () {
    if (writing) {
      writeAgain = true;
      return;
    }
    writing = true;
    FS.syncfs(false, written);
  };

  // Calls `callback` once every save so far is in IndexedDB (at once when none is pending).
  Module['octavaneWhenStored'] = function (callback) {
    if (writing) {
      waiting.push(callback);
    } else {
      callback();
    }
  };

  Module['preRun'] = Module['preRun'] || [];
  Module['preRun'].push(function () {
    FS.mkdirTree(settingsFolder);
    try {
      FS.mount(IDBFS, {}, settingsFolder);
    } catch (error) {
      console.warn('Octavane: no storage for the settings in this browser:', error);
      return;
    }
    addRunDependency('octavane-settings');
    FS.syncfs(true, function (error) {
      if (error) {
        console.warn('Octavane: the saved settings could not be read:', error);
      }
      removeRunDependency('octavane-settings');
    });
  });
})();
