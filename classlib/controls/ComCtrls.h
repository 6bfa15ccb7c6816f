#pragma once
// The common controls: tree views, tab and page controls, rich edits.
#include "RichEdit.h"
#include "TabControls.h"
#include "TreeView.h"
