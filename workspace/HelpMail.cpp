// The Help menu's mail commands: the user's mail program, addressed to the
// publisher.
#include "UpdaterStart.h"
#include "main.h"

namespace tq {

namespace {

void MailTo(const std::string& address) { ShellOpenHook()("mailto:" + address, "", ""); }

}  // namespace

void TRWInstallForm::Suggestions1Click(TObject*) { MailTo("suggestions@quorvel.com"); }

void TRWInstallForm::ContactUs1Click(TObject*) { MailTo("info@quorvel.com"); }

void TRWInstallForm::Support1Click(TObject*) { MailTo("support@quorvel.com"); }

}  // namespace tq
