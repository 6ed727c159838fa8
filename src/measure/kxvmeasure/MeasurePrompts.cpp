#include "MeasurePrompts.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "CalibrationDialog.h"

namespace kxvm {

namespace {

class DialogPrompts : public MeasurePrompts {
public:
    std::optional<CalibrationAnswer> AskCalibration(QWidget* parent,
                                                    const CalibrationRequest& request) override {
        CalibrationDialog dialog(request, parent);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.Answer();
    }
    std::optional<QString> AskText(QWidget* parent, const QString& current) override {
        bool ok = false;
        const QString text = QInputDialog::getText(
            parent, QCoreApplication::translate("MeasurePrompts", "Beschriftung"),
            QCoreApplication::translate("MeasurePrompts", "Text:"), QLineEdit::Normal, current, &ok);
        if (!ok) return std::nullopt;
        return text;
    }
    std::optional<QColor> AskColour(QWidget* parent, const QColor& current, const QString& title) override {
        const QColor c = QColorDialog::getColor(current, parent, title, QColorDialog::ShowAlphaChannel);
        if (!c.isValid()) return std::nullopt;
        return c;
    }
    std::optional<QFont> AskFont(QWidget* parent, const QFont& current) override {
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, current, parent,
                                                QCoreApplication::translate("MeasurePrompts", "Schrift"));
        if (!ok) return std::nullopt;
        return font;
    }
    QString AskSavePath(QWidget* parent, const QString& suggested) override {
        return QFileDialog::getSaveFileName(
            parent, QCoreApplication::translate("MeasurePrompts", "Messdaten speichern"), suggested,
            QCoreApplication::translate("MeasurePrompts", "Messdaten (*.json);;Alle Dateien (*)"));
    }
    QString AskOpenPath(QWidget* parent, const QString& suggested) override {
        return QFileDialog::getOpenFileName(
            parent, QCoreApplication::translate("MeasurePrompts", "Messdaten öffnen"), suggested,
            QCoreApplication::translate("MeasurePrompts", "Messdaten (*.json);;Alle Dateien (*)"));
    }
    void ShowError(QWidget* parent, const QString& text) override {
        QMessageBox::warning(parent, QCoreApplication::translate("MeasurePrompts", "Messen"), text);
    }
    bool AskProceed(QWidget* parent, const QString& text) override {
        return QMessageBox::warning(parent, QCoreApplication::translate("kxvm::MeasurePrompts", "Messen"), text,
                                    QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) == QMessageBox::Ok;
    }
};

MeasurePrompts* g_installed = nullptr;

} // namespace

MeasurePrompts& MeasurePrompts::Current() {
    static DialogPrompts dialogs;
    return g_installed ? *g_installed : dialogs;
}

void MeasurePrompts::Install(MeasurePrompts* prompts) {
    g_installed = prompts;
}

} // namespace kxvm
