#pragma once

#include <algorithm>
#include <iosfwd>
#include <memory>
#include <new>
#include <utility>

// A fixed-capacity list of plain records with a stable sort by the virtual Vergleichen.
template <typename T, int N> class TemplateArray
{
public:
    virtual ~TemplateArray() = default;

    // 1 when a sorts after b, 0 when their order stays; by default every pair stays.
    virtual int Vergleichen(const T& a, const T& b) const
    {
        (void)a;
        (void)b;
        return 0;
    }
    virtual bool Einlesen(std::istream& in) = 0;
    virtual bool AkkordtypLoeschen(int typ) = 0;
    virtual bool AkkordtypenTauschen(int a, int b) = 0;
    virtual bool Schreiben(std::ostream& out) = 0;
    virtual void SetzeGeaendert(bool wert) = 0;
    virtual bool IstGeaendert() const = 0;

    static constexpr int Kapazitaet = N;

    int Anzahl() const { return m_anzahl; }
    const T& Element(int i) const { return m_eintraege[i]; }
    T& Element(int i) { return m_eintraege[i]; }

    // Appends a copy; -1 when every slot is used, else the new count.
    int Anhaengen(const T& eintrag)
    {
        if (m_anzahl >= N)
            return -1;
        m_eintraege[m_anzahl] = eintrag;
        return ++m_anzahl;
    }

    bool EntfernenAn(int index)
    {
        if (index < 0 || index >= m_anzahl)
            return false;
        std::move(m_eintraege + index + 1, m_eintraege + m_anzahl, m_eintraege + index);
        --m_anzahl;
        return true;
    }

    // Inserts n records at once; indizes ascending, each the record's index in the longer list.
    // False (list unchanged) when they do not fit or an index is out of order or range.
    bool EinfuegenAn(const int* indizes, const T* eintraege, int n)
    {
        if (n < 0 || m_anzahl + n > N)
            return false;
        for (int k = 0; k < n; ++k) {
            if (indizes[k] < 0 || indizes[k] >= m_anzahl + n || (k > 0 && indizes[k] <= indizes[k - 1]))
                return false;
        }
        // From the back, so that every record moves once.
        int source = m_anzahl - 1;
        int k = n - 1;
        for (int slot = m_anzahl + n - 1; slot >= 0 && k >= 0; --slot) {
            if (indizes[k] == slot)
                m_eintraege[slot] = eintraege[k--];
            else
                m_eintraege[slot] = m_eintraege[source--];
        }
        m_anzahl += n;
        return true;
    }

    // Slot i receives the record that was at reihenfolge[i]; false (list unchanged) unless reihenfolge
    // holds every index of the list once.
    bool Umordnen(const int* reihenfolge, int n)
    {
        if (n != m_anzahl)
            return false;
        std::unique_ptr<int[]> order(new (std::nothrow) int[static_cast<std::size_t>(n > 0 ? n : 1)]);
        std::unique_ptr<bool[]> seen(new (std::nothrow) bool[static_cast<std::size_t>(n > 0 ? n : 1)]());
        if (!order || !seen)
            return false;
        for (int i = 0; i < n; ++i) {
            const int from = reihenfolge[i];
            if (from < 0 || from >= n || seen[from])
                return false;
            seen[from] = true;
            order[i] = from;
        }
        applyOrder(order.get(), n);
        return true;
    }

    // Stable sort: a record moves behind another exactly when Vergleichen says it sorts after it.
    // The same order as BlasenSortieren, without its quadratic cost.
    void Sortieren()
    {
        const int n = m_anzahl;
        std::unique_ptr<int[]> order(new (std::nothrow) int[static_cast<std::size_t>(n > 0 ? n : 1)]);
        if (!order) {
            BlasenSortieren();
            return;
        }
        for (int i = 0; i < n; ++i)
            order[i] = i;
        std::stable_sort(order.get(), order.get() + n,
                         [this](int a, int b) { return Vergleichen(m_eintraege[b], m_eintraege[a]) > 0; });
        applyOrder(order.get(), n);
    }

    // Passes over neighbouring pairs, swapping when Vergleichen is positive, until nothing moves.
    void BlasenSortieren()
    {
        bool swapped = true;
        while (swapped) {
            swapped = false;
            for (int i = 0; i + 1 < m_anzahl; ++i) {
                if (Vergleichen(m_eintraege[i], m_eintraege[i + 1]) > 0) {
                    std::swap(m_eintraege[i], m_eintraege[i + 1]);
                    swapped = true;
                }
            }
        }
    }

protected:
    void SetzeAnzahl(int anzahl) { m_anzahl = std::clamp(anzahl, 0, N); }
    T* Eintraege() { return m_eintraege; }
    const T* Eintraege() const { return m_eintraege; }

private:
    // Moves the records so that slot i receives the record that was at order[i], cycle by cycle.
    void applyOrder(int* order, int n)
    {
        for (int start = 0; start < n; ++start) {
            if (order[start] == start || order[start] < 0)
                continue;
            T held = m_eintraege[start];
            int slot = start;
            while (order[slot] != start) {
                const int from = order[slot];
                m_eintraege[slot] = m_eintraege[from];
                order[slot] = -1;
                slot = from;
            }
            m_eintraege[slot] = held;
            order[slot] = -1;
        }
    }

    T m_eintraege[N];
    int m_anzahl = 0;
};
