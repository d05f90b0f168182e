// Where the sample dialog's controls stand (client coordinates of the dialog), shared by the sample, its skin
// generator and the test that clicks through it.
#pragma once

#include <windows.h>

namespace skin_sample {

const int kDialogWidth = 360;
const int kDialogHeight = 240;
const RECT kStepButton = {20, 186, 110, 214};
const RECT kResetButton = {135, 186, 225, 214};
const RECT kCloseButton = {250, 186, 340, 214};
const RECT kProgress = {20, 124, 340, 140};
const RECT kScrollBar = {20, 150, 340, 168};
const int kScrollButton = 18;
const int kScrollThumb = 40;
const int kScrollPage = 10;
const int kScrollRange = 100;
const wchar_t kTitle[] = L"Skin sample";

}  // namespace skin_sample
