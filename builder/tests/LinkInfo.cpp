// lnkinfo <file.lnk>: prints what a shortcut file holds, read through the
// shell's own link object: "target=", "arguments=", "workdir=", "description="
// and "showcmd=" lines. Exit code 1 when the file cannot be read as a link.
#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: lnkinfo <file.lnk>\n");
    return 2;
  }
  CoInitialize(nullptr);
  int result = 1;
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t path[MAX_PATH];
      MultiByteToWideChar(CP_ACP, 0, argv[1], -1, path, MAX_PATH);
      if (SUCCEEDED(file->Load(path, STGM_READ))) {
        char text[1024];
        text[0] = 0;
        link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
        std::printf("target=%s\n", text);
        text[0] = 0;
        link->GetArguments(text, sizeof text);
        std::printf("arguments=%s\n", text);
        text[0] = 0;
        link->GetWorkingDirectory(text, sizeof text);
        std::printf("workdir=%s\n", text);
        text[0] = 0;
        link->GetDescription(text, sizeof text);
        std::printf("description=%s\n", text);
        int show = 0;
        link->GetShowCmd(&show);
        std::printf("showcmd=%d\n", show);
        result = 0;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return result;
}
