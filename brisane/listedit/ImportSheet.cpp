#include "listedit/ImportSheet.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

ImportSheet::ImportSheet(QWidget* parent)
    : QDialog(parent, Qt::Sheet), m_progress(new QProgressBar(this))
{
    setWindowTitle(tr("Importing"));
    setWindowModality(Qt::WindowModal);
    m_progress->setRange(0, 1);
    m_progress->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Importing media…"), this));
    layout->addWidget(m_progress);
    setFixedWidth(320);
}

void ImportSheet::begin()
{
    m_progress->setRange(0, 0);
    open();
}

void ImportSheet::end()
{
    if (!isVisible()) {
        return;
    }
    m_progress->setRange(0, 1);
    done(QDialog::Accepted);
}
