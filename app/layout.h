// The window's geometry: its outer size and where each control sits, in client pixels, with
// the ids the window and its tests know the controls by.
#pragma once

struct ControlRect {
    int left, top, width, height;
};

enum ControlId {
    FolderLabelId = 101,   // 标签1
    FolderEditId,          // 编辑框1
    AccountLabelId,        // 标签2
    AccountComboId,        // 组合框1
    SkipPicturesId,        // 选择框1
    BackupButtonId,        // 按钮1
    RestoreButtonId,       // 按钮2
    HintLabelId,           // 标签3
    LinksBoxId             // 简单超文本框2
};

constexpr int kWindowWidth = 296;
constexpr int kWindowHeight = 235;
constexpr int kComboDropDownHeight = 160;

constexpr ControlRect kFolderLabelRect = {16, 8, 80, 24};
constexpr ControlRect kFolderEditRect = {104, 8, 176, 24};
constexpr ControlRect kAccountLabelRect = {16, 40, 88, 24};
constexpr ControlRect kAccountComboRect = {104, 40, 176, 20};
constexpr ControlRect kSkipPicturesRect = {16, 72, 256, 16};
constexpr ControlRect kBackupButtonRect = {32, 96, 96, 32};
constexpr ControlRect kRestoreButtonRect = {160, 96, 96, 32};
constexpr ControlRect kHintLabelRect = {8, 136, 272, 40};
constexpr ControlRect kLinksBoxRect = {200, 184, 80, 16};
