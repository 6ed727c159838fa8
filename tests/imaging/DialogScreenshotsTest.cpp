// Every parameter dialog once on screen, in German and through the English
// catalogue: no caption is cut off, no control sticks out of the dialog, and a
// picture of each is kept for a look.
#include <memory>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>

#include <gtest/gtest.h>

#include "DialogDecreaseBpp.h"
#include "DialogDither.h"
#include "DialogIncreaseBpp.h"
#include "DialogJpegCompression.h"
#include "DialogOpacity.h"
#include "DialogProgress.h"
#include "DialogRepair.h"
#include "DialogResample.h"
#include "DialogRotate.h"
#include "DialogSkew.h"
#include "DialogThreshold.h"
#include "LanguageChoice.h"

namespace {

// The folder the pictures of one language go to.
QString g_folder;

void CheckAndKeep(CTemplateDialog& dlg, const QString& name) {
    SCOPED_TRACE(name.toStdString());
    dlg.show();
    const QRect inside = dlg.rect();
    const auto children = dlg.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* w : children) {
        if (w->isHidden()) continue;
        EXPECT_TRUE(inside.contains(w->geometry())) << w->metaObject()->className();
        // A caption wider than its control would be cut off.
        int needed = 0;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            text = label->text();
            needed = label->fontMetrics().horizontalAdvance(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            text = button->text();
            needed = button->sizeHint().width();
        } else if (auto* list = qobject_cast<QComboBox*>(w)) {
            text = list->itemText(0);
            needed = list->sizeHint().width(); // the widest entry and the arrow
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            text = group->title();
            needed = group->fontMetrics().horizontalAdvance(text) + 16;
        }
        EXPECT_LE(needed, w->width()) << text.toStdString();
    }
    QDir().mkpath(g_folder);
    EXPECT_TRUE(dlg.grab().save(g_folder + "/" + name + ".png"));
}

void CheckEveryDialog(const QString& folder) {
    g_folder = QStringLiteral(VISTOREL_SCREENSHOTS "/") + folder;
    CDialogRotate rotate;
    CheckAndKeep(rotate, "rotate");
    CDialogResample resample;
    resample.SetImageSize(400, 300);
    CheckAndKeep(resample, "resample");
    CDialogDecreaseBpp decrease;
    CheckAndKeep(decrease, "decrease-bpp");
    CDialogIncreaseBpp increase;
    CheckAndKeep(increase, "increase-bpp");
    CDialogDither dither;
    CheckAndKeep(dither, "dither");
    CDialogThreshold threshold;
    CheckAndKeep(threshold, "threshold");
    CDialogOpacity opacity;
    CheckAndKeep(opacity, "opacity");
    CDialogRepair repair;
    CheckAndKeep(repair, "repair");
    CDialogSkew skew;
    skew.SetImageSize(100, 200);
    CheckAndKeep(skew, "skew");
    CDialogJpegCompression jpeg;
    CheckAndKeep(jpeg, "jpeg-compression");
    CDialogProgress progress;
    progress.SetCaption("Bild speichern");
    progress.SetPos(50);
    CheckAndKeep(progress, "progress");
}

} // namespace

TEST(ParameterDialogs, FitTheirCaptionsAndArePictured) {
    CheckEveryDialog(QStringLiteral("dialogs"));
}

TEST(ParameterDialogs, FitTheirEnglishCaptions) {
    const QLocale numbers;
    CLanguageChoice language;
    ASSERT_TRUE(language.Install(CLanguageChoice::Language::English));
    EXPECT_EQ(CDialogRotate().windowTitle(), QStringLiteral("Rotate"));
    CheckEveryDialog(QStringLiteral("dialogs-en"));
    language.Install(CLanguageChoice::Language::German);
    QLocale::setDefault(numbers);
}
