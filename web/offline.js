// Makes the site playable offline and installable: registers the service worker (sw.js), which
// keeps the site's files on the first visit. A rebuilt site's worker, once it holds the whole new
// site, is told to take over; the open page then loads itself again at once, so that it never runs one build's page with another's
// files; the game in play and the settings are kept in the browser's storage after every change
// and come back.
//
// Service workers exist only in a secure context: https, or http on localhost. Anywhere else
// (an address on the local network, a file opened from the disk) the site simply plays online.
(function () {
  'use strict';
  if (!('serviceWorker' in navigator) || !window.isSecureContext) {
    return;
  }
  var container = navigator.serviceWorker;
  var hadWorker = !!container.controller;
  var reloading = false;
  container.addEventListener('controllerchange', function () {
    if (!hadWorker) {
      hadWorker = true; // the first visit's worker: the page already runs this build
      return;
    }
    if (reloading) {
      return;
    }
    reloading = true;
    var reload = function () { window.location.reload(); };
    if (window.Module && Module.octavaneWhenStored) {
      Module.octavaneWhenStored(reload);
    } else {
      reload();
    }
  });
  // A new site's worker waits, installed, until this page tells it to take over: whenever the
  // page finds it, at its start or later, so that no page misses the change.
  var takeOverWhenInstalled = function (worker) {
    if (!worker) {
      return;
    }
    var takeOver = function () {
      if (worker.state === 'installed') {
        worker.postMessage('take-over');
      }
    };
    worker.addEventListener('statechange', takeOver);
    takeOver();
  };
  container.register('sw.js').then(function (registration) {
    takeOverWhenInstalled(registration.waiting);
    takeOverWhenInstalled(registration.installing);
    registration.addEventListener('updatefound', function () {
      takeOverWhenInstalled(registration.installing);
    });
  }).catch(function (error) {
    console.warn('Octavane: the site cannot be kept for offline play:', error);
  });
})();
