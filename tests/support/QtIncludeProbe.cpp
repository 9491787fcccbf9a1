// Built with the model's settings only; it must fail to compile.
#include <QtCore/QString>

int main()
{
    return QString().size();
}
