// Stands in for GNOME Shell's resource:///org/gnome/shell/extensions/extension.js (45 and later): the base class
// of an extension's default export, constructed with the extension's metadata.
export class Extension {
    constructor(metadata) {
        this.metadata = metadata;
    }
}
