// The editor's scripted dialogs and data-folder reset, compiled into this
// folder's support library.
#include "tests/editor/editor_fixture.cpp"
