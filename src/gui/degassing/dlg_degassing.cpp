#include "gui/degassing/dlg_degassing.h"

#include "core/app/session.h"
#include "core/common/settings.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace talvex::gui {

using talvex::DegassingField;

namespace {

constexpr std::size_t Index(DegassingField field) {
    return static_cast<std::size_t>(field);
}

QString ToQ(const std::string& text) {
    return QString::fromStdString(text);
}

// Adds the fields to a group as rows of caption and edit.
QGroupBox* FieldGroup(const QString& title, std::initializer_list<DegassingField> fields,
                      const std::array<QLabel*, talvex::kDegassingFieldCount>& labels,
                      const std::array<QLineEdit*, talvex::kDegassingFieldCount>& edits) {
    auto* box = new QGroupBox(title);
    auto* grid = new QGridLayout(box);
    int row = 0;
    for (const DegassingField field : fields) {
        grid->addWidget(labels[Index(field)], row, 0);
        grid->addWidget(edits[Index(field)], row, 1);
        ++row;
    }
    grid->setColumnStretch(0, 1);
    return box;
}

// A result field: read-only, on the background of read-only fields (the window's, as the desktop draws
// a field that takes no typing), so that it never looks like one of the inputs.
void ShowAsResult(QLineEdit* edit) {
    edit->setReadOnly(true);
    QPalette palette = edit->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setBrush(group, QPalette::Base, palette.brush(group, QPalette::Window));
    edit->setPalette(palette);
}

} // namespace

CDlgDegassing::CDlgDegassing(talvex::Session& session, QWidget* parent, int inputDelayMs)
    : QWidget(parent), session_(session) {
    const std::vector<talvex::DegassingFieldView> views = session_.Degassing().Fields();
    for (const talvex::DegassingFieldView& view : views) {
        const std::size_t i = Index(view.field);
        labels_[i] = new QLabel(ToQ(view.caption), this);
        edits_[i] = new QLineEdit(ToQ(view.text), this);
        edits_[i]->setAlignment(Qt::AlignCenter);
        edits_[i]->setMinimumWidth(110);
        edits_[i]->setObjectName(QStringLiteral("degassingField%1").arg(i));
        if (!talvex::IsDegassingInput(view.field))
            ShowAsResult(edits_[i]);
        labels_[i]->setBuddy(edits_[i]);
    }

    auto* methodBox = new QGroupBox(QStringLiteral("Метод дегазации"), this);
    auto* methodLayout = new QVBoxLayout(methodBox);
    methods_ = new QButtonGroup(this);
    for (int method : {talvex::MethodA, talvex::MethodAModified, talvex::MethodB}) {
        auto* button = new QRadioButton(ToQ(talvex::DegassingPage::MethodCaption(method)), methodBox);
        methods_->addButton(button, method);
        methodLayout->addWidget(button);
    }
    methodLayout->addStretch();

    auto* inputs = new QGroupBox(QStringLiteral("Входные параметры"), this);
    auto* inputsLayout = new QVBoxLayout(inputs);
    inputsLayout->addWidget(FieldGroup(QStringLiteral("Параметры окруж. среды"),
                                       {DegassingField::AtmPressure, DegassingField::GasTemperature}, labels_,
                                       edits_));
    inputsLayout->addWidget(
        FieldGroup(QString(),
                   {DegassingField::SampleMass, DegassingField::CondMass1, DegassingField::CondMass2,
                    DegassingField::GasVolume1, DegassingField::GasVolume2},
                   labels_, edits_));
    inputsLayout->addStretch();

    QGroupBox* results =
        FieldGroup(QStringLiteral("Результаты расчета:"),
                   {DegassingField::CondMass, DegassingField::GasVolume, DegassingField::GasVolumeNC,
                    DegassingField::GasMass, DegassingField::CondFraction, DegassingField::GasFraction,
                    DegassingField::GasFactor},
                   labels_, edits_);
    results->setParent(this);

    auto* columns = new QHBoxLayout;
    columns->addWidget(methodBox);
    columns->addWidget(inputs, 1);
    columns->addWidget(results, 1);
    auto* page = new QVBoxLayout(this);
    page->addLayout(columns);
    page->addStretch();

    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setInterval(inputDelayMs);
    connect(timer_, &QTimer::timeout, this, &CDlgDegassing::takePendingEdit);

    for (std::size_t i = 0; i < edits_.size(); ++i)
        if (talvex::IsDegassingInput(static_cast<DegassingField>(i)))
            connect(edits_[i], &QLineEdit::textChanged, this,
                    [this, i] { OnFieldChanged(static_cast<int>(i)); });

    // Start-up: the method's radio button, then the method applied (labels, enabled fields, results).
    methods_->button(session_.Degassing().Parameters().Method)->setChecked(true);
    connect(methods_, &QButtonGroup::idClicked, this, &CDlgDegassing::OnMethodClicked);
    OnMethodClicked(methods_->checkedId());
}

int CDlgDegassing::inputDelay() const {
    return timer_->interval();
}

void CDlgDegassing::setInputDelay(int ms) {
    timer_->setInterval(ms);
}

QLineEdit* CDlgDegassing::fieldEdit(DegassingField field) const {
    return edits_[Index(field)];
}

QLabel* CDlgDegassing::fieldLabel(DegassingField field) const {
    return labels_[Index(field)];
}

QRadioButton* CDlgDegassing::methodButton(int method) const {
    return qobject_cast<QRadioButton*>(methods_->button(method));
}

int CDlgDegassing::Decimals() const {
    talvex::CSettings settings; // read afresh: the settings dialog may have changed the decimals
    settings.Load(session_.Settings());
    return settings.QtyNumAfterDot;
}

void CDlgDegassing::RecalcDegassing() {
    session_.Degassing().Recalculate(Decimals());
    ShowPage();
    // Queued, so that the whole recalculation runs after the handler that asked for it has returned.
    QMetaObject::invokeMethod(this, &CDlgDegassing::recalculationRequested, Qt::QueuedConnection);
}

void CDlgDegassing::ShowValues() {
    methods_->button(session_.Degassing().Parameters().Method)->setChecked(true);
    for (const talvex::DegassingFieldView& view : session_.Degassing().Fields())
        if (talvex::IsDegassingInput(view.field)) {
            QLineEdit* edit = edits_[Index(view.field)];
            const QSignalBlocker quiet(edit); // the session's text, not a typed one
            edit->setText(ToQ(view.text));
        }
    ShowPage();
}

void CDlgDegassing::OnMethodClicked(int method) {
    // The pending field is taken under the method it was typed for, so that a field the new method
    // closes never shows a text other than its value.
    if (pending_ >= 0)
        takePendingEdit();
    session_.Degassing().SetMethod(method, Decimals());
    RecalcDegassing();
}

void CDlgDegassing::OnFieldChanged(int index) {
    // One pending edit at a time: typing into another field takes the pending one at once, as its timer
    // would, so that no field shows a text the page does not compute with.
    if (pending_ >= 0 && pending_ != index && !ownRewrite_)
        takePendingEdit();
    pending_ = index;
    if (ownRewrite_) {
        CompleteEdit();
        return;
    }
    timer_->start(); // typing keeps postponing the edit
}

void CDlgDegassing::takePendingEdit() {
    timer_->stop();
    if (pending_ < 0)
        return;
    QLineEdit* edit = edits_[static_cast<std::size_t>(pending_)];
    if (!edit->isEnabled()) {
        pending_ = -1; // the method closed the field meanwhile: the edit is dropped
        return;
    }
    const auto field = static_cast<DegassingField>(pending_);
    session_.Degassing().TypeValue(field, edit->text().toStdString(), Decimals());
    const QString shown = ToQ(session_.Degassing().Fields()[Index(field)].text);
    ownRewrite_ = true;
    edit->setText(shown);
    edit->setCursorPosition(static_cast<int>(shown.size()));
    // A text that was already written as the program writes it ("3.10") does not change, so no change
    // notification completes the edit: complete it here, or the page would wait for it forever.
    if (ownRewrite_)
        CompleteEdit();
}

void CDlgDegassing::CompleteEdit() {
    ownRewrite_ = false;
    pending_ = -1;
    RecalcDegassing();
}

void CDlgDegassing::ShowPage() {
    for (const talvex::DegassingFieldView& view : session_.Degassing().Fields()) {
        const std::size_t i = Index(view.field);
        labels_[i]->setText(ToQ(view.caption));
        if (talvex::IsDegassingInput(view.field))
            edits_[i]->setEnabled(view.enabled); // inputs keep the operator's text
        else
            edits_[i]->setText(ToQ(view.text));
    }
}

} // namespace talvex::gui
