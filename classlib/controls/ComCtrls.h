#pragma once
// The common controls: tree views, tab and page controls, rich edits, progress bars.
#include "ProgressBar.h"
#include "RichEdit.h"
#include "TabControls.h"
#include "TreeView.h"
