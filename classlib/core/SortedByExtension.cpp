#include "SortedByExtension.h"

#include "SysUtils.h"

namespace tq {

void TSortedByExtensionStringList::Sort() {
  // CustomSort is stable: equal extensions keep their relative order.
  CustomSort([](TStringList& list, int a, int b) {
    return AnsiCompareText(ExtractFileExt(list.GetRef(a)), ExtractFileExt(list.GetRef(b)));
  });
}

}  // namespace tq
