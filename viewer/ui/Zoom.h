#pragma once

#include <QString>

class TPanel;

// Shows the picture at `path` on its printed page in a print preview window and waits, with the rest of
// the program usable, until that window is closed. Each call makes its own report window and destroys
// it at the end, also when the picture cannot be loaded: then the error box says why and no preview is
// shown. `name` decides the picture's height on the page (a ".gif" name is a document).
void previewPicture(const QString& path, const QString& name);

// The inbox cell's preview: "c:\picture\" + the name bar's text.
void Zoom(TPanel* nameBar);
