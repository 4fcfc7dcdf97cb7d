// Loads an ES-module extension as GNOME Shell 45 and later do: its extension.js imported as a module, whose default
// export is a class derived from the shell's Extension, constructed with the metadata and given enable and disable.
// The shell's own modules are the stand-ins registered as a resource bundle at their paths in the shell.
// Usage: gjs -m loadmodule.js <stand-ins .gresource> <extension folder>; prints "loaded", or fails with the error.
import Gio from 'gi://Gio';
import GLib from 'gi://GLib';

const [resourcePath, extensionDir] = ARGV;
Gio.resources_register(Gio.Resource.load(resourcePath));
const {Extension} = await import('resource:///org/gnome/shell/extensions/extension.js');
const [, metadataBytes] = GLib.file_get_contents(`${extensionDir}/metadata.json`);
const metadata = JSON.parse(new TextDecoder().decode(metadataBytes));
const module = await import(GLib.filename_to_uri(`${extensionDir}/extension.js`, null));
if (!(module.default?.prototype instanceof Extension)) {
    throw new Error('the default export is not a class derived from Extension');
}
const extension = new module.default({...metadata, path: extensionDir});
if (typeof extension.enable !== 'function' || typeof extension.disable !== 'function') {
    throw new Error('the extension has no enable() and disable()');
}
print('loaded');
