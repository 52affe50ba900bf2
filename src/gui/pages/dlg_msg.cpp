#include "gui/pages/dlg_msg.h"

#include "core/messages/message_log.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace talvex::gui {

CDlgMSG::CDlgMSG(MessageLog& log, QWidget* parent)
    : QWidget(parent), log_(log), errors_(new QCheckBox(QStringLiteral("Ошибки"), this)),
      warnings_(new QCheckBox(QStringLiteral("Предупреждения"), this)),
      info_(new QCheckBox(QStringLiteral("Информация"), this)), text_(new QPlainTextEdit(this)) {
    errors_->setChecked(log.ShowErrors());
    warnings_->setChecked(log.ShowWarnings());
    info_->setChecked(log.ShowInfo());
    for (QCheckBox* box : {errors_, warnings_, info_})
        connect(box, &QCheckBox::toggled, this, &CDlgMSG::OnFilterChanged);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(errors_);
    boxes->addWidget(warnings_);
    boxes->addWidget(info_);
    boxes->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(boxes);
    layout->addWidget(text_, 1);
    Refresh();
}

void CDlgMSG::Refresh() {
    // The edit shows a line per LF; the log keeps CR LF as the report and the CLI need it.
    text_->setPlainText(
        QString::fromStdString(log_.LogText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

QString CDlgMSG::Text() const {
    return text_->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void CDlgMSG::OnFilterChanged() {
    // Only the composition changes; the stored messages are not posted again.
    log_.SetFilters(errors_->isChecked(), warnings_->isChecked(), info_->isChecked());
    Refresh();
}

} // namespace talvex::gui
