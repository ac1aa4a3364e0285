#include "VXFirstResponderBackgroundView.h"

VXFirstResponderBackgroundView::VXFirstResponderBackgroundView(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}
