#pragma once
// Every text the simulator shows. The window titles and the class name are those of the real
// application and must stay exactly as they are (note the half-width katakana of the main title).

#include <string>
#include <string_view>

namespace clw4sim::texts {

inline constexpr std::string_view kMainClass = "CLW4MainClass";
inline constexpr std::string_view kMainTitle = "ｸﾗﾘｽﾜｰｸｽ 4.0";
inline constexpr std::string_view kOpenTitle = "開く";
inline constexpr std::string_view kPrintTitle = "印刷";
inline constexpr std::string_view kWarningTitle = "警告";
inline constexpr std::string_view kPrintingTitle = "クラリスワークス印刷";

// The main window's title: with the open document's file name in brackets.
inline std::string MainTitle(std::string_view documentName) {
  if (documentName.empty()) return std::string(kMainTitle);
  return std::string(kMainTitle) + " - [" + std::string(documentName) + "]";
}

// A document made by Ctrl+N, numbered from 1.
inline constexpr std::string_view kUntitled = "名称未設定 ";

// Client area of the main window.
inline constexpr std::string_view kNoDocument = "書類は開いていません";
inline constexpr std::string_view kDocumentLabel = "書類: ";
inline constexpr std::string_view kStatusLabel = "状態: ";
inline constexpr std::string_view kStatusReady = "待機中";
inline constexpr std::string_view kStatusWaitingDialog = "ダイアログを準備しています…";
inline constexpr std::string_view kStatusInDialog = "ダイアログの応答待ち";
inline constexpr std::string_view kStatusOpening = "書類を開いています…";
inline constexpr std::string_view kStatusPrinting = "印刷しています…";
inline constexpr std::string_view kStatusClosing = "書類を閉じています…";
inline constexpr std::string_view kStatusQuitting = "終了しています…";
inline constexpr std::string_view kStatusHung = "応答なし";
inline constexpr std::string_view kSimulatorNote = "（シミュレータ）";

// The dialogs.
inline constexpr std::string_view kOpenPrompt = "開く書類のパス名を入力してください:";
inline constexpr std::string_view kOpenKeys = "Enter: 開く    Esc: キャンセル";
inline constexpr std::string_view kPrintPrinter = "プリンタ: 既定のプリンタ";
inline constexpr std::string_view kPrintCopies = "部数: 1    ページ: すべて";
inline constexpr std::string_view kPrintKeys = "Enter: 印刷    Esc: キャンセル";
inline constexpr std::string_view kReadOnlyText = "この書類はロックされているか、読み出し専用です。変更は保存できません。";
inline constexpr std::string_view kReadOnlyKeys = "Enter: OK";
inline constexpr std::string_view kSaveQuestionBefore = "「";
inline constexpr std::string_view kSaveQuestionAfter = "」の変更を保存しますか?";
inline constexpr std::string_view kSaveKeys = "Enter: 保存    Ctrl+N: 保存しない    Esc: キャンセル";
inline constexpr std::string_view kPrintingText = "印刷中: ";

// The focus thief.
inline constexpr std::string_view kThiefClass = "VelmokFocusThief";
inline constexpr std::string_view kThiefTitle = "よそのアプリ";
inline constexpr std::string_view kThiefText = "よそのアプリケーションが前面に出ています。";

}  // namespace clw4sim::texts
