// Loads an extension as GNOME Shell 43 and 44 do: extension.js through the legacy importer, whose init(metadata)
// gives the object with enable and disable. The shell's imports.ui.main is the stand-in in the given folder.
// Usage: gjs loadlegacy.js <stand-ins folder> <extension folder>; prints "loaded", or fails with the error.
const [stubDir, extensionDir] = ARGV;
imports.searchPath.unshift(stubDir);
imports.searchPath.unshift(extensionDir);
const [, metadataBytes] = imports.gi.GLib.file_get_contents(`${extensionDir}/metadata.json`);
const metadata = JSON.parse(new TextDecoder().decode(metadataBytes));
const extension = imports.extension.init({...metadata, path: extensionDir});
if (typeof extension?.enable !== 'function' || typeof extension?.disable !== 'function') {
    throw new Error('init() gives no object with enable() and disable()');
}
print('loaded');
