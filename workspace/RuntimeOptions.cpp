// The Compiler menu: the Visual Basic run-time files of this machine's system
// folder in the choice "Core_Program", and the database-engine and .NET checks
// that the build reads.
#include <windows.h>

#include "FileUtils.h"
#include "choices.h"
#include "main.h"

namespace tq {

namespace {

struct TRuntimeFile {
  const char* Name;
  int SelfRegister;
};
const TRuntimeFile SharedRuntimeFiles[] = {{"Stdole2.tlb", 0},  {"Oleaut32.dll", 1}, {"Olepro32.dll", 1},
                                           {"Comcat.dll", 1},   {"Asycfilt.dll", 0}, {"Ctl3d32.dll", 0}};

int IndexOfPath(TStringList* files, const std::string& path) {
  for (int i = 0; i < files->Count(); ++i)
    if (AnsiSameText(files->Get(i), path)) return i;
  return -1;
}

void AddRuntimeFile(TChoice* c, const std::string& path, int selfRegister) {
  c->Files->AddIntObject(path, selfRegister);
  c->Directories->Add("SystemFolder");
}

void RemoveRuntimeFile(TChoice* c, const std::string& path) {
  int i = IndexOfPath(c->Files, path);
  if (i < 0) return;
  c->Files->Delete(i);
  if (i < c->Directories->Count()) c->Directories->Delete(i);
}

}  // namespace

std::string& TRWInstallForm::SystemDirOverride() {
  static std::string dir;
  return dir;
}

std::string TRWInstallForm::RuntimeSystemDir() {
  if (!SystemDirOverride().empty()) return IncludeTrailingPathDelimiter(SystemDirOverride());
  char buffer[MAX_PATH + 1] = {};
  UINT n = GetSystemDirectoryA(buffer, MAX_PATH);
  return IncludeTrailingPathDelimiter(std::string(buffer, n < MAX_PATH ? n : 0));
}

void TRWInstallForm::Compiler1Click(TObject*) {
  // Only run-times present on this machine can be packed.
  const std::string system = RuntimeSystemDir();
  VisualBasic6RunTime1->SetEnabled(FileExists(system + "Msvbvm60.dll"));
  VisualBasic5RunTime1->SetEnabled(FileExists(system + "Msvbvm50.dll"));
  VisualBasic1->SetEnabled(VisualBasic6RunTime1->Enabled() || VisualBasic5RunTime1->Enabled());
}

void TRWInstallForm::VisualBasic6RunTime1Click(TObject*) {
  VisualBasic6RunTime1->SetChecked(!VisualBasic6RunTime1->Checked());
  FModified = 1;
  UpdateVbRuntimeFiles();
}

void TRWInstallForm::VisualBasic5RunTime1Click(TObject*) {
  VisualBasic5RunTime1->SetChecked(!VisualBasic5RunTime1->Checked());
  FModified = 1;
  UpdateVbRuntimeFiles();
}

void TRWInstallForm::Pro1Click(TObject*) {
  Pro1->SetChecked(!Pro1->Checked());
  Enterprise1->SetChecked(false);
  FModified = 1;
}

void TRWInstallForm::Enterprise1Click(TObject*) {
  Enterprise1->SetChecked(!Enterprise1->Checked());
  Pro1->SetChecked(false);
  FModified = 1;
}

void TRWInstallForm::CLRRuntime1Click(TObject*) { CLRRuntime1->SetChecked(!CLRRuntime1->Checked()); }

void TRWInstallForm::EnsureSystemFolderDir() {
  for (TTreeNode* n = trTargetDir->Items().GetFirstNode(); n; n = n->GetNext())
    if (n->Text() == "SystemFolder") return;
  trTargetDir->Items().Add(nullptr, "SystemFolder");
}

void TRWInstallForm::UpdateVbRuntimeFiles() {
  int tab = -1;
  for (int i = 0; i < tcChoices->Tabs().Count(); ++i)
    if (tcChoices->Tabs()[i] == "Core_Program") {
      tab = i;
      break;
    }
  if (tab < 0) return;
  auto* c = dynamic_cast<TChoice*>(tcChoices->Tabs().GetObjectAt(tab));
  if (!c) return;
  const std::string system = RuntimeSystemDir();
  struct TPart {
    TMenuItem* Item;
    TMenuItem* Other;
    const char* File;
  };
  for (const TPart& part : {TPart{VisualBasic6RunTime1, VisualBasic5RunTime1, "Msvbvm60.dll"},
                            TPart{VisualBasic5RunTime1, VisualBasic6RunTime1, "Msvbvm50.dll"}}) {
    const std::string main = system + part.File;
    if (part.Item->Checked()) {
      // A run-time this machine does not have is not added: the package
      // would name a source file that does not exist.
      if (IndexOfPath(c->Files, main) < 0 && FileExists(main)) {
        AddRuntimeFile(c, main, 1);
        if (!part.Other->Checked())
          for (const TRuntimeFile& f : SharedRuntimeFiles)
            if (FileExists(system + f.Name) && IndexOfPath(c->Files, system + f.Name) < 0)
              AddRuntimeFile(c, system + f.Name, f.SelfRegister);
      }
      EnsureSystemFolderDir();
    } else {
      if (IndexOfPath(c->Files, main) >= 0) {
        RemoveRuntimeFile(c, main);
        if (!part.Other->Checked())
          for (const TRuntimeFile& f : SharedRuntimeFiles) RemoveRuntimeFile(c, system + f.Name);
      }
    }
    tcChoices->SetTabIndex(tab);
  }
}

}  // namespace tq
