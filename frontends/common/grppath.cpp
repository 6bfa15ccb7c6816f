#include "grppath.h"

namespace tq {

TWhichGroupPathDlg::TWhichGroupPathDlg(TComponent* owner) : TForm(owner) {
  TQ_FIELD(rgWhichUser);
  TQ_FIELD(OKBtn);
  TQ_FIELD(CancelBtn);
  LoadLayoutResource("GRPPATH");
}

}  // namespace tq
