#pragma once
// The table steps of a build. Each runs on the builder object that carries the
// open package between the steps and reads the project through it
// (ProjectOf(build), BuildProject.h); the build command calls them in a fixed
// order, draining the message queue between them.
//
//   TBuild build;
//   build.FProject = std::make_shared<TBuildProject>(ReadBuildProject(form));
//   if (!PrepareDatabase(build)) return;   // missing source files were listed
//   WriteDirectoryTable(build);
//   WriteFeatureTable(build);
//   WriteComponentTables(build);
//   WriteFileTables(build);
//   ...
//
// The results the steps hand on (the custom-type flag, the licence and read-me
// files) are build.FResults. Project data at fault raises EBuildException; a
// failed installer call raises EInstallerError; both end the build.
#include <string>

#include "BuildProject.h"
#include "build.h"

namespace tq {

// ---- the steps, in the order the build command runs them ----
// Copies the template to the output path (BuiltPackageFile: the running
// build's work file beside the package), checks the Info page, writes the
// summary information, the product's properties and the dialog bitmaps. False
// when source files of the choices are missing (the list has been shown).
bool PrepareDatabase(TBuild& build);
// Merge-module projects, during PrepareDatabase once the key suffix is set:
// the ModuleSignature row, and build.FModuleId (clean product name + key
// suffix) for the ModuleComponents rows.
void WriteModuleSignature(TBuild& build);
// The Directory table from the target-directory tree; committed.
void WriteDirectoryTable(TBuild& build);
// The Feature table from the choices and the hidden features; committed.
void WriteFeatureTable(TBuild& build);
// Component, FeatureComponents and (merge modules) ModuleComponents; also picks
// the uninstaller's choice and writes Updates2.dat with update support. The
// files' components get their key paths in the File step.
void WriteComponentTables(TBuild& build);
// File, Media, SelfReg and Font, and the key path (the File row) of each
// file's component; committed.
void WriteFileTables(TBuild& build);
// The licence text into the template's licence dialog as rich text (right
// after the File step). The Gui page's licence file when the HTML front-end
// shows a licence page, else the choices' "license.txt"; none: nothing. A file
// that cannot be opened ends the build; a text the package refuses is logged
// and the build goes on.
void WriteLicenseText(TBuild& build);
// The licence's rich text: CR dropped, LF as " \par ", "\", "{" and "}"
// escaped, the text ending at its first zero byte.
std::string LicenseRichText(const std::string& text);
// The licence file the step uses; empty for none.
std::string LicenseTextSource(const TBuildProject& project, const TBuildResults& results);
// The Registry table: the registry entries and, with update support, the
// updates-menu rows.
void WriteRegistryTable(TBuild& build);
// The Shortcut table and the shortcuts' working-directory actions; true.
bool WriteShortcutTable(TBuild& build);
// The Environment table.
void WriteEnvironmentTable(TBuild& build);
// Three Registry rows per file association, after the registry entries; true.
bool WriteAssociations(TBuild& build);

// ---- what the steps share ----
// The builder's Directory key of a node of the target-directory tree.
std::string DirectoryKey(const TBuild& build, const std::string& nodeText);
// The formatted path of a node of the project's target-directory tree.
std::string FormatDirectoryPath(TBuild& build, const std::string& nodeText);

// The component an item of a page installs with: the first Component_ that
// FeatureComponents lists for the item's choice. A choice without one stops
// the build with a message naming the page's entry ("Shortcut entry number 2").
std::string ItemComponent(TBuild& build, const std::string& choice, const std::string& entry);

// Drains the window message queue (between and inside the steps).
void DrainMessages();

}  // namespace tq
