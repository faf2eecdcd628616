// The browser's local storage and the page's storage note, stood in for under node, where the
// browser platform's storage tests run: a map of items, and a switch that makes storage throw as
// a private window or a full quota does.
var vornixStorage = {items: new Map(), refuseReads: false, refuseWrites: false, note: {hidden: true}};
globalThis.localStorage = {
  getItem: function (key) {
    if (vornixStorage.refuseReads) throw new Error('SecurityError');
    return vornixStorage.items.has(key) ? vornixStorage.items.get(key) : null;
  },
  setItem: function (key, value) {
    if (vornixStorage.refuseWrites) throw new Error('QuotaExceededError');
    vornixStorage.items.set(key, String(value));
  },
  removeItem: function (key) {
    if (vornixStorage.refuseWrites) throw new Error('QuotaExceededError');
    vornixStorage.items.delete(key);
  }
};
globalThis.document = {
  getElementById: function (id) {
    return id === 'storage-note' ? vornixStorage.note : null;
  }
};
Module['vornixStorage'] = vornixStorage;
