#include "ui/saveoptionsdialog.h"

#include "ui/helddialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvello {

std::optional<SaveAllOptions> runSaveAllOptionsDialog(QWidget* owner, const SaveAllOptions& initial)
{
    HeldDialog<QDialog> held(owner);
    QDialog& dialog = *held;
    dialog.setObjectName(QStringLiteral("saveAllOptions"));
    dialog.setWindowTitle(QCoreApplication::translate("ui", "全部保存"));
    auto* keep = new QCheckBox(QCoreApplication::translate("ui", "保留EXIF信息"), &dialog);
    keep->setObjectName(QStringLiteral("keepExif"));
    keep->setToolTip(QCoreApplication::translate(
        "ui", "副本带有照片的EXIF、XMP和IPTC信息（方向为正，尺寸为副本的尺寸，不含缩略图）"));
    keep->setChecked(initial.keepMetadata);
    auto* quality = new QSpinBox(&dialog);
    quality->setObjectName(QStringLiteral("quality"));
    quality->setRange(1, 100);
    quality->setValue(initial.quality);
    auto* lossless = new QCheckBox(QCoreApplication::translate("ui", "无损"), &dialog);
    lossless->setObjectName(QStringLiteral("lossless"));
    lossless->setToolTip(QCoreApplication::translate(
        "ui",
        "JPEG照片只重新编码文字所在的部分，其余部分保持原样；TIFF和HEIC照片按所设质量完整编码"));
    lossless->setChecked(initial.lossless);

    auto* form = new QFormLayout;
    form->addRow(keep);
    form->addRow(QCoreApplication::translate("ui", "JPEG 质量（1–100）："), quality);
    form->addRow(lossless);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QCoreApplication::translate("ui", "确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QCoreApplication::translate("ui", "取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);

    if (held.exec() != QDialog::Accepted) return std::nullopt;
    return SaveAllOptions{keep->isChecked(), quality->value(), lossless->isChecked()};
}

}  // namespace orvello
