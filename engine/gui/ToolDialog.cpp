#include "engine/gui/ToolDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <charconv>
#include <optional>
#include <utility>
#include <climits>
#include <stdexcept>

#include "engine/gui/ToolPictures.h"
#include "kernel/platform/LanguageText.h"
#include "kernel/platform/NumberReading.h"
#include "kernel/platform/TextEncoding.h"

namespace calvoro {

namespace {

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A message of the language file, or the form's own text when none is loaded.
QString Lang(const std::string& text, const char* fallback) {
    return text.empty() ? QString::fromLatin1(fallback) : QString::fromStdString(text);
}

// The caption of a field's label, without its colon, for messages.
QString FieldCaption(const QLineEdit* field) {
    // The form layout sits inside the group's own layout, under the picture.
    const auto* form = field->parentWidget()->findChild<QFormLayout*>();
    const auto* label = form ? qobject_cast<QLabel*>(form->labelForField(const_cast<QLineEdit*>(field))) : nullptr;
    QString caption = label ? label->text() : field->objectName();
    caption.remove(':');
    return caption.trimmed();
}

float ParsePositive(const QLineEdit* field) {
    const std::optional<float> value = ReadSingleNumber(field->text().toStdString());
    if (!value) throw std::invalid_argument(("\"" + FieldCaption(field) + "\" needs a number.").toStdString());
    return *value;
}

std::int32_t ParseWhole(const QLineEdit* field) {
    const std::optional<std::int32_t> value = ReadWholeNumber(field->text().toStdString());
    if (!value) throw std::invalid_argument(("\"" + FieldCaption(field) + "\" needs a whole number.").toStdString());
    return *value;
}

// Stored names are Windows-1252 bytes, as the NC program reads them.
QString NameText(const ToolRecord& record) {
    return QString::fromStdString(Windows1252ToUtf8(record.name));
}

QString DamagedMark() {
    return Lang(LangString("900"), "(damaged)");
}

QString ShortestText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

}  // namespace

ToolDialog::ToolDialog(std::filesystem::path libraryFile, int currentToolIndex, QWidget* parent)
    : QDialog(parent),
      library_(std::make_unique<ToolLibraryFile>(std::move(libraryFile))),
      currentToolIndex_(currentToolIndex),
      openedIndex_(currentToolIndex) {
    setObjectName("frmTool");
    setWindowTitle("Tool database");
    buildForm();
    reportFailure([this] { library_->load(); });
    if (!library_->damageReport().empty()) {
        const QString report = QString::fromStdString(library_->damageReport());
        if (reportError_) reportError_(report);
        else QMessageBox::warning(this, windowTitle(), report);
    }
    fillList();
    inUse_ = readFields().value_or(ToolRecord{});
    if (currentToolIndex_ >= 0 && std::size_t(currentToolIndex_) < library_->size()) {
        const ToolRecord record = library_->record(std::size_t(currentToolIndex_));
        pendingRefusal_ = refusalOf(record);
        if (pendingRefusal_.isEmpty()) {
            setCurrentTool(record);
            return;
        }
        // The fields keep their defaults, which are then the cutter in use;
        // the user is told why once the form is shown.
        currentToolIndex_ = openedIndex_ = -1;
    }
    showFieldsOf(ToolType(cboTipoUt->currentIndex()));
}

QString ToolDialog::refusalOf(const ToolRecord& record) const {
    const std::optional<ToolField> damaged = DamagedToolField(record);
    if (!damaged) return {};
    const QLineEdit* fields[] = {txtFeedrate, txtPlungeRate, txtDiametro, txtC_Raggio,
                                 txtAngolo,   txtDiamFlat,   txtUtLen};
    return Lang(LangString("901"),
                "The cutter \"%1\" cannot be used: its \"%2\" is not a number of 0 or more. Its record stays in "
                "the library as it is.")
        .arg(NameText(record), FieldCaption(fields[int(*damaged)]));
}

void ToolDialog::report(const QString& text) {
    if (reportError_)
        reportError_(text);
    else
        QMessageBox::warning(this, windowTitle(), text);
}

ToolDialog::~ToolDialog() = default;

void ToolDialog::buildForm() {
    auto* layout = new QVBoxLayout(this);
    auto* groups = new QHBoxLayout;
    layout->addLayout(groups);

    grpToolList = Named(new QGroupBox("Tool List", this), "grpToolList");
    auto* list = new QVBoxLayout(grpToolList);
    ListView1 = Named(new QListWidget(grpToolList), "ListView1");
    ListView1->setIconSize(QSize(16, 16));
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    list->addWidget(ListView1, 1);
    auto* listButtons = new QHBoxLayout;
    sbtAddTool = Named(new QPushButton("Add", grpToolList), "sbtAddTool");
    sbtModify = Named(new QPushButton("Modify", grpToolList), "sbtModify");
    btnDelRecord = Named(new QPushButton("Delete...", grpToolList), "btnDelRecord");
    UpDown1 = Named(new QWidget(grpToolList), "UpDown1");
    auto* arrows = new QVBoxLayout(UpDown1);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    btnToolUp = Named(new QToolButton(UpDown1), "btnToolUp");
    btnToolUp->setArrowType(Qt::UpArrow);
    btnToolDown = Named(new QToolButton(UpDown1), "btnToolDown");
    btnToolDown->setArrowType(Qt::DownArrow);
    arrows->addWidget(btnToolUp);
    arrows->addWidget(btnToolDown);
    for (QWidget* widget : {static_cast<QWidget*>(sbtAddTool), static_cast<QWidget*>(sbtModify),
                            static_cast<QWidget*>(btnDelRecord), UpDown1})
        listButtons->addWidget(widget);
    list->addLayout(listButtons);
    groups->addWidget(grpToolList, 1);

    grpToolInfo = Named(new QGroupBox("Tool Info", this), "grpToolInfo");
    auto* info = new QVBoxLayout(grpToolInfo);
    imgTool = Named(new QLabel(grpToolInfo), "imgTool");
    imgTool->setAlignment(Qt::AlignCenter);
    info->addWidget(imgTool);
    auto* fields = new QFormLayout;
    info->addLayout(fields);
    auto addField = [&](QWidget* field, const char* labelName, const char* caption) {
        auto* label = Named(new QLabel(caption, grpToolInfo), labelName);
        fields->addRow(label, field);
        return label;
    };
    auto edit = [&](const char* name, const char* text) {
        auto* field = Named(new QLineEdit(text, grpToolInfo), name);
        return field;
    };
    sedToolNum = Named(new QSpinBox(grpToolInfo), "sedToolNum");
    sedToolNum->setRange(0, INT_MAX);
    sedToolNum->setValue(1);
    addField(sedToolNum, "lblToolNum", "Tool number:");
    txtUtName = edit("txtUtName", "");
    txtUtName->setMaxLength(int(ToolRecord::kMaxNameLength));
    addField(txtUtName, "lblUtName", "Name:");
    cboTipoUt = Named(new QComboBox(grpToolInfo), "cboTipoUt");
    for (int type = 0; type <= int(ToolType::Undefined); ++type)
        cboTipoUt->addItem(QString::fromLatin1(ToolTypeName(ToolType(type)).data()));
    addField(cboTipoUt, "lblTipoUt", "Type:");
    txtGiri = edit("txtGiri", "1000");
    addField(txtGiri, "lblGiri", "Spindle speed:");
    txtFeedrate = edit("txtFeedrate", "1000");
    addField(txtFeedrate, "lblFeedrate", "Feed rate:");
    txtPlungeRate = edit("txtPlungeRate", "1000");
    addField(txtPlungeRate, "lblPlungeRate", "Plunge rate:");
    txtDiametro = edit("txtDiametro", "5");
    addField(txtDiametro, "lblDiametro", "Diameter:");
    txtC_Raggio = edit("txtC_Raggio", "0");
    lblC_Radius = addField(txtC_Raggio, "lblC_Radius", "Corner radius:");
    txtAngolo = edit("txtAngolo", "0");
    lblAngle = addField(txtAngolo, "lblAngle", "Angle:");
    txtDiamFlat = edit("txtDiamFlat", "0");
    lblFlatDiam = addField(txtDiamFlat, "lblFlatDiam", "Flat diameter:");
    txtUtLen = edit("txtUtLen", "0");
    addField(txtUtLen, "lblUtLen", "Pass depth:");
    chkCoolant = Named(new QCheckBox("Coolant", grpToolInfo), "chkCoolant");
    fields->addRow(chkCoolant);
    groups->addWidget(grpToolInfo);

    // Digits only for the speed; digits and one point for the others: no sign.
    auto* whole = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
    auto* positive = new QRegularExpressionValidator(QRegularExpression("[0-9]*\\.?[0-9]*"), this);
    txtGiri->setValidator(whole);
    for (QLineEdit* field : {txtFeedrate, txtPlungeRate, txtDiametro, txtC_Raggio, txtAngolo, txtDiamFlat, txtUtLen})
        field->setValidator(positive);

    auto* buttons = new QHBoxLayout;
    sbtOk = Named(new QPushButton("Ok", this), "sbtOk");
    bntCancel = Named(new QPushButton("Cancel", this), "bntCancel");
    sbtOk->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(sbtOk);
    buttons->addWidget(bntCancel);
    layout->addLayout(buttons);

    connect(sbtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(bntCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ListView1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { selectRow(ListView1->row(item)); });
    connect(sbtAddTool, &QPushButton::clicked, this, &ToolDialog::addTool);
    connect(sbtModify, &QPushButton::clicked, this, &ToolDialog::modifyTool);
    connect(btnDelRecord, &QPushButton::clicked, this, &ToolDialog::deleteTool);
    connect(btnToolUp, &QToolButton::clicked, this, &ToolDialog::moveUp);
    connect(btnToolDown, &QToolButton::clicked, this, &ToolDialog::moveDown);
    for (QLineEdit* field : textFields()) connect(field, &QLineEdit::textChanged, this, &ToolDialog::fieldEdited);
    connect(sedToolNum, &QSpinBox::valueChanged, this, &ToolDialog::fieldEdited);
    connect(chkCoolant, &QCheckBox::toggled, this, &ToolDialog::fieldEdited);
    connect(txtDiametro, &QLineEdit::textChanged, this, [this] {
        if (cboTipoUt->currentIndex() != int(ToolType::Spherical)) return;
        try {
            txtC_Raggio->setText(ShortestText(double(ParsePositive(txtDiametro)) / 2));
        } catch (const std::invalid_argument&) {
            // Half typed: the radius follows once the diameter is a number.
        }
    });
    connect(cboTipoUt, &QComboBox::currentIndexChanged, this, [this](int type) {
        imgTool->setPixmap(ToolPicture(ToolType(type), 90));
        showFieldsOf(ToolType(type));
        fieldEdited();
    });
}

void ToolDialog::fieldEdited() {
    // Any edit outdates the paths; only a whole set of numbers becomes the
    // cutter in use.
    if (const std::optional<ToolRecord> record = readFields()) inUse_ = *record;
    emit toolChanged();
}

QList<QLineEdit*> ToolDialog::textFields() const {
    return {txtGiri, txtFeedrate, txtPlungeRate, txtUtName, txtDiametro, txtC_Raggio, txtAngolo, txtDiamFlat, txtUtLen};
}

void ToolDialog::fillList() {
    ListView1->clear();
    for (std::size_t i = 0; i < library_->size(); ++i) addListItem(library_->record(i));
}

void ToolDialog::addListItem(const ToolRecord& record) {
    showInList(new QListWidgetItem(ListView1), record);
}

void ToolDialog::showInList(QListWidgetItem* item, const ToolRecord& record) const {
    item->setIcon(QIcon(ToolPicture(record.toolType, 16)));
    const QString refusal = refusalOf(record);
    item->setText(refusal.isEmpty() ? NameText(record) : NameText(record) + " " + DamagedMark());
    item->setToolTip(refusal);
    item->setForeground(refusal.isEmpty() ? ListView1->palette().text() : ListView1->palette().placeholderText());
}

void ToolDialog::showFieldsOf(ToolType type) {
    const auto radius = [this](bool shown, bool enabled) {
        lblC_Radius->setVisible(shown);
        txtC_Raggio->setVisible(shown);
        txtC_Raggio->setEnabled(enabled);
    };
    const auto cone = [this](bool shown) {
        for (QWidget* widget : {static_cast<QWidget*>(txtAngolo), static_cast<QWidget*>(lblAngle),
                                static_cast<QWidget*>(txtDiamFlat), static_cast<QWidget*>(lblFlatDiam)})
            widget->setVisible(shown);
    };
    switch (type) {
        case ToolType::Flat:
        case ToolType::Drill:
            radius(false, true);
            cone(false);
            break;
        case ToolType::BullNose:
            radius(true, true);
            cone(false);
            break;
        case ToolType::Spherical:
            radius(true, false);
            cone(false);
            try {
                txtC_Raggio->setText(QString::number(double(ParsePositive(txtDiametro)) / 2, 'f', 3));
            } catch (const std::invalid_argument&) {
            }
            break;
        case ToolType::ConicalFlat:
            radius(false, true);
            cone(true);
            lblFlatDiam->setText(Lang(LangString("719"), "Flat diameter"));
            break;
        case ToolType::ConicalSpherical:
            radius(false, true);
            cone(true);
            lblFlatDiam->setText(Lang(LangString("718"), "Ball diameter"));
            break;
        case ToolType::Undefined:
            break;
    }
}

std::optional<ToolRecord> ToolDialog::readFields(QLineEdit** failed, QString* why) const {
    QLineEdit* reading = nullptr;
    const auto real = [&reading](QLineEdit* field) {
        reading = field;
        return ParsePositive(field);
    };
    ToolRecord record;
    try {
        record.toolNumber = sedToolNum->value();
        reading = txtGiri;
        record.spindleSpeed = ParseWhole(txtGiri);
        record.feedRate = real(txtFeedrate);
        record.plungeRate = real(txtPlungeRate);
        record.coolant = chkCoolant->isChecked();
        record.name = Utf8ToWindows1252Replacing(txtUtName->text().left(int(ToolRecord::kMaxNameLength)).toStdString());
        record.toolType = ToolType(cboTipoUt->currentIndex());
        record.diameter = real(txtDiametro);
        record.cornerRadius = real(txtC_Raggio);
        record.taperAngle = real(txtAngolo);
        record.flatDiameter = real(txtDiamFlat);
        record.passDepth = real(txtUtLen);
    } catch (const std::invalid_argument& error) {
        if (failed) *failed = reading;
        if (why) *why = QString::fromStdString(error.what());
        return std::nullopt;
    }
    return record;
}

std::optional<ToolRecord> ToolDialog::confirmedFields() {
    QLineEdit* failed = nullptr;
    QString why;
    std::optional<ToolRecord> record = readFields(&failed, &why);
    if (!record) {
        report(why);
        if (failed) {
            failed->setFocus();
            failed->selectAll();
        }
    }
    return record;
}

void ToolDialog::setCurrentTool(const ToolRecord& record) {
    sedToolNum->setValue(record.toolNumber);
    txtGiri->setText(QString::number(record.spindleSpeed));
    txtFeedrate->setText(QString::fromStdString(FormatToolNumber(record.feedRate)));
    txtPlungeRate->setText(QString::fromStdString(FormatToolNumber(record.plungeRate)));
    txtDiametro->setText(QString::fromStdString(FormatToolNumber(record.diameter)));
    txtC_Raggio->setText(QString::fromStdString(FormatToolNumber(record.cornerRadius)));
    txtAngolo->setText(QString::fromStdString(FormatToolNumber(record.taperAngle)));
    txtDiamFlat->setText(QString::fromStdString(FormatToolNumber(record.flatDiameter)));
    txtUtLen->setText(QString::fromStdString(FormatToolNumber(record.passDepth)));
    chkCoolant->setChecked(record.coolant);
    txtUtName->setText(NameText(record));
    cboTipoUt->setCurrentIndex(int(record.toolType));
    imgTool->setPixmap(ToolPicture(record.toolType, 90));
    showFieldsOf(record.toolType);
}

ToolFieldTexts ToolDialog::fieldTexts() const {
    ToolFieldTexts texts;
    texts.name = txtUtName->text().toStdString();
    texts.number = std::to_string(sedToolNum->value());
    texts.speed = txtGiri->text().toStdString();
    texts.feedRate = txtFeedrate->text().toStdString();
    texts.diameter = txtDiametro->text().toStdString();
    texts.cornerRadius = txtC_Raggio->text().toStdString();
    texts.taperAngle = txtAngolo->text().toStdString();
    texts.flatDiameter = txtDiamFlat->text().toStdString();
    texts.type = ToolType(cboTipoUt->currentIndex());
    return texts;
}

bool ToolDialog::reportFailure(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const std::exception& error) {
        report(QString::fromStdString(error.what()));
        return false;
    }
}

int ToolDialog::selectedRow() const {
    const QList<QListWidgetItem*> selected = ListView1->selectedItems();
    return selected.isEmpty() ? -1 : ListView1->row(selected.front());
}

void ToolDialog::selectRow(int row) {
    if (row < 0 || std::size_t(row) >= library_->size()) return;
    ListView1->setCurrentRow(row);
    const ToolRecord record = library_->record(std::size_t(row));
    // A damaged record stays selected, so that it can be deleted or written
    // over with Modify, but never fills the fields of the cutter in use.
    if (const QString refusal = refusalOf(record); !refusal.isEmpty()) {
        report(refusal);
        return;
    }
    setCurrentTool(record);
    currentToolIndex_ = row;
}

void ToolDialog::addTool() {
    const std::optional<ToolRecord> record = confirmedFields();
    if (!record) return;
    reportFailure([this, &record] {
        library_->add(*record);
        addListItem(library_->record(library_->size() - 1));
    });
}

void ToolDialog::modifyTool() {
    const int row = selectedRow();
    if (row < 0) return;
    const std::optional<ToolRecord> record = confirmedFields();
    if (!record) return;
    reportFailure([this, row, &record] {
        library_->modify(std::size_t(row), *record);
        showInList(ListView1->item(row), library_->record(std::size_t(row)));
    });
}

void ToolDialog::deleteTool() {
    const int row = selectedRow();
    if (row < 0) return;
    reportFailure([this, row] {
        library_->remove(std::size_t(row));
        // The fields stay: they are the cutter in use, whether or not the
        // library still holds it.
        currentToolIndex_ = CurrentToolIndexAfterRemove(currentToolIndex_, std::size_t(row));
        openedIndex_ = CurrentToolIndexAfterRemove(openedIndex_, std::size_t(row));
        fillList();
    });
}

void ToolDialog::swapWith(int offset) {
    const int row = selectedRow();
    if (row < 0) return;
    const int target = row + offset;
    if (target < 0 || std::size_t(target) >= library_->size()) return;
    reportFailure([this, row, target] {
        library_->swap(std::size_t(row), std::size_t(target));
        currentToolIndex_ = CurrentToolIndexAfterSwap(currentToolIndex_, std::size_t(row), std::size_t(target));
        openedIndex_ = CurrentToolIndexAfterSwap(openedIndex_, std::size_t(row), std::size_t(target));
        for (const int index : {row, target}) showInList(ListView1->item(index), library_->record(std::size_t(index)));
        ListView1->setCurrentRow(target);
    });
}

void ToolDialog::moveUp() {
    swapWith(-1);
}

void ToolDialog::moveDown() {
    swapWith(1);
}

void ToolDialog::setEditOnly(bool editOnly) {
    editOnly_ = editOnly;
}

void ToolDialog::showEvent(QShowEvent* event) {
    ok_ = false;
    openedTexts_.clear();
    for (const QLineEdit* field : textFields()) openedTexts_ << field->text();
    openedNumber_ = sedToolNum->value();
    openedCoolant_ = chkCoolant->isChecked();
    openedType_ = cboTipoUt->currentIndex();
    openedIndex_ = currentToolIndex_;
    setWindowTitle(editOnly_ ? Lang(LangString("750"), "Edit tool") : Lang(LangString("751"), "Tool library"));
    grpToolList->setVisible(!editOnly_);
    if (!editOnly_ && firstFullShow_) {
        firstFullShow_ = false;
        ListView1->setFocus();
        if (currentToolIndex_ >= 0 && currentToolIndex_ < ListView1->count()) ListView1->setCurrentRow(currentToolIndex_);
    }
    // The layout learns of the list's going or coming only when asked; then
    // the form takes the width of what it shows.
    layout()->activate();
    adjustSize();
    QDialog::showEvent(event);
    if (!pendingRefusal_.isEmpty()) {
        // After the form is on the screen, so the message box has it behind.
        QMetaObject::invokeMethod(
            this, [this, text = std::exchange(pendingRefusal_, QString())] { report(text); }, Qt::QueuedConnection);
    }
}

void ToolDialog::done(int result) {
    // Ok keeps the fields as the cutter in use: each must be a number.
    if (result == QDialog::Accepted && !confirmedFields()) return;
    ok_ = result == QDialog::Accepted;
    if (!ok_ && openedTexts_.size() == textFields().size()) {
        // Cancel: the cutter in use is the one the form was opened with.
        cboTipoUt->setCurrentIndex(openedType_);
        const QList<QLineEdit*> fields = textFields();
        for (int i = 0; i < fields.size(); ++i) fields[i]->setText(openedTexts_[i]);
        sedToolNum->setValue(openedNumber_);
        chkCoolant->setChecked(openedCoolant_);
        imgTool->setPixmap(ToolPicture(ToolType(openedType_), 90));
        showFieldsOf(ToolType(openedType_));
        currentToolIndex_ = openedIndex_;
    }
    QDialog::done(result);
}

void ShowToolTable(const ToolTableLabels& labels, const ToolDialog& dialog) {
    const ToolTableTexts table = MakeToolTableTexts(dialog.fieldTexts());
    const auto line = [](const ToolTableLine& row) {
        return QString::fromStdString(LangString(row.message) + row.value);
    };
    labels.name->setText(QString::fromStdString(table.name));
    labels.number->setText(line(table.number));
    labels.speed->setText(line(table.speed));
    labels.feedRate->setText(line(table.feedRate));
    labels.plunge->setText(QString());
    labels.diameter->setText(line(table.diameter));
    labels.shapeValue->setVisible(table.shapeValue.has_value());
    labels.flatValue->setVisible(table.flatValue.has_value());
    if (table.shapeValue) labels.shapeValue->setText(line(*table.shapeValue));
    if (table.flatValue) labels.flatValue->setText(line(*table.flatValue));
    labels.picture->setPixmap(ToolPicture(dialog.fieldTexts().type, 90));
}

}  // namespace calvoro
