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
// Copies the template to the output path, checks the Info page, writes the
// summary information, the product's properties and the dialog bitmaps. False
// when source files of the choices are missing (the list has been shown).
bool PrepareDatabase(TBuild& build);
// The Directory table from the target-directory tree; committed.
void WriteDirectoryTable(TBuild& build);
// The Feature table from the choices and the hidden features; committed.
void WriteFeatureTable(TBuild& build);
// Component, FeatureComponents and (merge modules) ModuleComponents; also picks
// the uninstaller's choice and writes Updates2.dat with update support.
void WriteComponentTables(TBuild& build);
// File, Media, SelfReg and Font; committed.
void WriteFileTables(TBuild& build);

// ---- what the steps share ----
// The builder's Directory key of a node of the target-directory tree.
std::string DirectoryKey(const TBuild& build, const std::string& nodeText);
// The formatted path of a node of the project's target-directory tree.
std::string FormatDirectoryPath(TBuild& build, const std::string& nodeText);

// Drains the window message queue (between and inside the steps).
void DrainMessages();

}  // namespace tq
