#include "console/CommandLineField.h"

namespace kiv {

CommandLineField::CommandLineField(QWidget* parent)
    : QLineEdit(parent)
{
}

} // namespace kiv
