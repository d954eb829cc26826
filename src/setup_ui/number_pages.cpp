#include "setup_ui/number_pages.h"

namespace m2::setup {

namespace {

constexpr NumberPageForm Form(const char* className, const char* tab, const char* label) {
  return {{className, tab, NumberListView::kPageWidth, NumberListView::kPageHeight, {}}, label};
}

constexpr const char* kDiscriminationLabel = "識別番号";
constexpr const char* kShortDialLabel = "短縮番号";

}  // namespace

CPPageDialDiscAng1::CPPageDialDiscAng1(CKB45mRXObj& record, QWidget* parent)
    : NumberListPage(Form("CPPageDialDiscAng1", "識別着信用(TEL1 ﾎﾟｰﾄ)", kDiscriminationLabel),
                     record, parent) {}

CPPageDialDiscAng2::CPPageDialDiscAng2(CKB45mRXObj& record, QWidget* parent)
    : NumberListPage(Form("CPPageDialDiscAng2", "識別着信用(TEL2 ﾎﾟｰﾄ)", kDiscriminationLabel),
                     record, parent) {}

CPPageDialShortData::CPPageDialShortData(CKB45mRXObj& record, QWidget* parent)
    : NumberListPage(Form("CPPageDialShortData", "短縮ﾀﾞｲﾔﾙ用(DTE ﾎﾟｰﾄ)", kShortDialLabel), record,
                     parent) {}

CPPageDialDiscData::CPPageDialDiscData(CKB45mRXObj& record, QWidget* parent)
    : NumberListPage(Form("CPPageDialDiscData", "識別着信用(DTE ﾎﾟｰﾄ)", kDiscriminationLabel),
                     record, parent) {}

}  // namespace m2::setup
