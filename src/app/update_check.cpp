#include "app/update_check.h"

#include "text/text.h"

namespace yz {

using namespace literals;

namespace {

constexpr const char* kOwnVersionLabel = "标签1";

// The request waits on the network; from the window thread it must not
// freeze the window.
UpdateNotice ReadNoticeBlocking(const Context& ctx) {
  UpdateNotice notice;
  ctx.effects->RunBlocking([&] { notice = ReadUpdateNotice(ctx); });
  return notice;
}

// Offers the download; Yes opens the download address.
void OfferDownload(const Context& ctx, const UpdateNotice& notice) {
  Text text = "有更新，是否下载！\r\n更新内容："_gbk + notice.updateNotes;
  int answer = ctx.effects->ShowMessage(text, kMbYesNo | kMbIconInformation, "发现新版本："_gbk);
  if (answer == kAnswerYes) ctx.effects->OpenAddress(notice.downloadAddress);
}

}  // namespace

UpdateVerdict JudgeNotice(const Context& ctx, const UpdateNotice& notice) {
  if (!notice.fetched || notice.latestVersion.empty()) return UpdateVerdict::Unknown;
  return notice.latestVersion == ctx.ui->GetText(kOwnVersionLabel) ? UpdateVerdict::Current
                                                                  : UpdateVerdict::NewVersion;
}

UpdateNotice ReadUpdateNotice(const Context& ctx) {
  UpdateNotice notice;
  Bytes body = FetchPageInetFor(ctx, ctx.addresses.notice);
  if (body.empty()) return notice;
  notice.fetched = true;
  // The bytes are the text, unconverted; program text ends at a NUL.
  Text page = body.substr(0, body.find('\0'));
  const Text close = "（软件成品）"_gbk;
  notice.latestVersion = TextBetween(page, "最新版本为"_gbk, close);
  notice.downloadAddress = TextBetween(page, "下载地址为："_gbk, close);
  notice.updateNotes = TextBetween(page, "更新："_gbk, "（完）"_gbk);
  return notice;
}

void StartupUpdateCheck(const Context& ctx) {
  UpdateNotice notice = ReadNoticeBlocking(ctx);
  // An unreadable notice goes on to the window without a word.
  if (JudgeNotice(ctx, notice) != UpdateVerdict::NewVersion) return;
  OfferDownload(ctx, notice);
  ctx.effects->EndProgram(0);
}

void MenuUpdateCheck(const Context& ctx) {
  UpdateNotice notice = ReadNoticeBlocking(ctx);
  switch (JudgeNotice(ctx, notice)) {
    case UpdateVerdict::Unknown:
      ctx.effects->ShowMessage("检查更新失败，请稍后再试！"_gbk, kMbOk | kMbIconInformation, {});
      break;
    case UpdateVerdict::Current:
      ctx.effects->ShowMessage("已是最新版！"_gbk, kMbOk | kMbIconInformation, {});
      break;
    case UpdateVerdict::NewVersion:
      OfferDownload(ctx, notice);
      break;
  }
}

}  // namespace yz
