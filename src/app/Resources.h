#pragma once

// Registers the compiled-in help pages and icons. Needed once per process because the Qt layer
// is a static library, whose resource objects the linker would otherwise leave out.
void InitDruvelResources();
