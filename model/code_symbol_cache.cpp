#include "model/code_symbol_cache.h"

#include "model/model_error.h"

#include <QHash>

#include <mutex>
#include <variant>

namespace {

// Data that changes ({NR} over copies) simply misses; when full, the cache
// starts afresh rather than tracking ages.
class TSymbolCache {
public:
    TCodeSymbol Get(TCodeType Type, TCodeEcc Ecc, const QString& Data)
    {
        const QString Key = QString::number(int(Type)) + QLatin1Char(':') + QString::number(int(Ecc)) +
                            QLatin1Char(':') + Data;
        {
            std::lock_guard<std::mutex> Lock(FMutex);
            const auto It = FItems.constFind(Key);
            if (It != FItems.constEnd())
                return Unpack(*It);
        }
        TEntry Entry;
        try {
            Entry = EncodeCode(Type, Ecc, Data);
        } catch (const EModelError& Err) {
            Entry = Err.Message();
        }
        {
            std::lock_guard<std::mutex> Lock(FMutex);
            if (FItems.size() >= kMaxItems)
                FItems.clear();
            FItems.insert(Key, Entry);
        }
        return Unpack(Entry);
    }

private:
    using TEntry = std::variant<TCodeSymbol, QString>;
    static constexpr qsizetype kMaxItems = 512;

    static TCodeSymbol Unpack(const TEntry& E)
    {
        if (const QString* Reason = std::get_if<QString>(&E))
            throw EModelError(*Reason);
        return std::get<TCodeSymbol>(E);
    }

    std::mutex FMutex;
    QHash<QString, TEntry> FItems;
};

}  // namespace

TCodeSymbol CachedCodeSymbol(TCodeType Type, TCodeEcc Ecc, const QString& Data)
{
    static TSymbolCache Cache;
    return Cache.Get(Type, Ecc, Data);
}
