#include "rates/CurrencyObjects.h"

void TCurrencyObject::FillWithData(const QString &ACode, const QString &AName, const QString &APlace,
                                   DateTime ADay, quint16 AUnit, double ABuy, double ASell, double AMiddle)
{
    FCode = ACode;
    FName = AName;
    FPlace = APlace;
    FDay = ADay;
    FUnit = AUnit;
    const double divisor = AUnit != 0 ? static_cast<double>(AUnit) : 1.0;
    FBuy = ABuy / divisor;
    FSell = ASell / divisor;
    FMiddle = AMiddle / divisor;
}

int TCurrencyObjectList::AddCurrency(TCurrencyObject AObject)
{
    FObjectList.push_back(std::move(AObject));
    return static_cast<int>(FObjectList.size()) - 1;
}

const TCurrencyObject *TCurrencyObjectList::GetCurrency(int Index) const
{
    if (Index < 0 || Index >= ListCount())
        return nullptr;
    return &FObjectList[static_cast<size_t>(Index)];
}
