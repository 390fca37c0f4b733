#pragma once
// Every text that the program's logic shows, writes or compares, in one place. Static window
// texts (menus, captions, tool tips) live in the resource script.

#include <string_view>

namespace velmok::texts {

// The program and its messages.
inline constexpr std::string_view kAppTitle = "ベルモック";
inline constexpr std::string_view kCloseClarisBeforeStart = "クラリスワークスを閉じてから実行してください";
inline constexpr std::string_view kCloseOtherAppsBeforeStart = "他のアプリケーションを閉じてから実行してください";
inline constexpr std::string_view kCloseOpenClaris = "開いているクラリスワークスを閉じてください";
inline constexpr std::string_view kPrintFinished = "印刷が終了しました。";
inline constexpr std::string_view kUnreachableDocuments =
    "次のファイルは、クラリスワークスが読めない文字を名前に含むか、パスが長すぎるため、"
    "クラリスワークスに渡せません。印刷を中止しました。\r\n"
    "ファイル名を変えるか、短いパスのフォルダに移してから、もう一度印刷してください。\r\n";
inline constexpr std::string_view kDocumentsNotThere =
    "次のファイルは、見つからないか、ファイルではなくなったか、Windows が装置に使う名前 (CON、PRN、AUX、NUL、"
    "COM1～COM9、LPT1～LPT9) のため、クラリスワークスで開けません。印刷を中止しました。\r\n"
    "リストから削除するか、ファイルを確かめてから、もう一度印刷してください。\r\n";
inline constexpr std::string_view kUnreachableMorePrefix = "ほか ";
inline constexpr std::string_view kUnreachableMoreSuffix = " 個のファイル";
inline constexpr std::string_view kUnreadableFolders =
    "次のフォルダを読み取れなかったため、中のファイルはリストに追加されていません。\r\n";
inline constexpr std::string_view kUnreadableMorePrefix = "ほか ";
inline constexpr std::string_view kUnreadableMoreSuffix = " 個のフォルダ";
inline constexpr std::string_view kSessionEndDuringRun = "印刷中です。すべての文書の印刷が終わるまでお待ちください。";
inline constexpr std::string_view kSysInfoUnavailable = "現時点ではシステム情報を使用できません";

// The debug log.
inline constexpr std::string_view kLogInitialised = "デバッグメッセージ初期化完了 Level = ";

// The status line.
inline constexpr std::string_view kStatusStart = "リストビューにファイルまたはフォルダを追加してください。";
inline constexpr std::string_view kStatusAddedSuffix = " 個のファイルをリストに追加しました。";
inline constexpr std::string_view kStatusNothingFound = "印刷可能なファイルが見つかりませんでした。";
inline constexpr std::string_view kStatusSearching = "検索中: ";
inline constexpr std::string_view kStatusDeletedSuffix = "個のファイルをリストから削除しました。";
inline constexpr std::string_view kStatusNoTargets = "処理対象のファイルがありません。";
inline constexpr std::string_view kStatusPrintedSuffix = "個のファイルを正常に印刷しました。";
inline constexpr std::string_view kStatusPrintFailed = "印刷に失敗しました。";
inline constexpr std::string_view kStatusModified = "更新日時: ";
inline constexpr std::string_view kStatusSize = " サイズ: ";

// ClarisWorks, as the print run and start-up recognise it.
inline constexpr std::string_view kClarisMainClass = "CLW4MainClass";
inline constexpr std::string_view kClarisTitleNoDocument = "ｸﾗﾘｽﾜｰｸｽ 4.0";
inline constexpr std::string_view kClarisTitleDocumentPrefix = "ｸﾗﾘｽﾜｰｸｽ 4.0 - [";
inline constexpr std::string_view kOpenDialogTitle = "開く";
inline constexpr std::string_view kPrintDialogTitle = "印刷";
inline constexpr std::string_view kPrintingWindowTitle = "クラリスワークス印刷";
inline constexpr std::string_view kWarningTitle = "警告";

// The progress window and the print run.
inline constexpr std::string_view kProgressCaption = "自動操作処理中";
inline constexpr std::string_view kProgressWarning = "※マウス・キーボードに触れないでください。";
inline constexpr std::string_view kProgressInterrupted = "※処理が中断されました。";
inline constexpr std::string_view kProgressStopButton = "緊急操作中止(&X)";
inline constexpr std::string_view kProgressCloseButton = "閉じる(&X)";
inline constexpr std::string_view kRunDoNotTouch = "自動操作中はマウス・キーボードに触れないでください。";
inline constexpr std::string_view kRunStarting = "処理を開始します : ";
inline constexpr std::string_view kRunFile = "ファイル ";
inline constexpr std::string_view kRunLaunching = "クラリスワークスの起動中...";
inline constexpr std::string_view kRunRet = " Ret=";
inline constexpr std::string_view kRunOpening = "ファイルを開いています...";
inline constexpr std::string_view kRunWaitingOpen = "ファイルオープン待ちしています...";
inline constexpr std::string_view kRunSendingCtrlP = "CTRL+Pを送信しています...";
inline constexpr std::string_view kRunSendingEnter = "ENTERを送信しています...";
inline constexpr std::string_view kRunSendingCtrlW = "CTRL+Wを送信しています...";
inline constexpr std::string_view kRunQueueFull = "プリンタジョブが満杯のため待機中...";
inline constexpr std::string_view kRunQuitting = "クラリスワークスを閉じています...";
inline constexpr std::string_view kRunTimedOut = "タイムアウトしました。";
inline constexpr std::string_view kRunStopRequested = "中断要求が発生しました。";
inline constexpr std::string_view kRunWaitingForUnlock = "画面のロック解除を待っています...";
inline constexpr std::string_view kRunHeldFrom = " から";  // after the local date and time the wait began
inline constexpr std::string_view kRunHeldUntil = " まで";  // after the local date and time it ended
inline constexpr std::string_view kWaitOpenDialog = " 開くダイアログ検知 Cnt=";
inline constexpr std::string_view kWaitDocumentOpen = " ファイルオープン検知 Cnt=";
inline constexpr std::string_view kWaitReadOnlyWarning = " リードオンリー警告検知 Cnt=";
inline constexpr std::string_view kWaitPrintDialog = " 印刷ダイアログ検知 Cnt=";
inline constexpr std::string_view kWaitPrinting = " 印刷中検知 Cnt=";
inline constexpr std::string_view kWaitPrintingEnded = " 印刷終了検知 Cnt=";
inline constexpr std::string_view kWaitDocumentClosed = " ファイルクローズ検知 Cnt=";
inline constexpr std::string_view kWaitSaveWarning = " 要保存警告検知 Cnt=";
inline constexpr std::string_view kWaitClarisEnded = " クラリスワークス終了検知 Cnt=";

// The mail report.
inline constexpr std::string_view kMailSubject = "VELMOK";
inline constexpr std::string_view kMailBody = "※プログラムフォルダにVELMOK.LOGファイルがあれば、このメールに添付してください。";

}  // namespace velmok::texts
