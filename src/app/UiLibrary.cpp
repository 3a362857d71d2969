// Keeps the Qt layer a library even while a build has none of its folders filled.
namespace druvel::ui {
int uiLibraryAnchor = 0;
}
