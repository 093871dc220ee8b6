#include "lumenta/LMFFItem.h"

#include "LMFFItemData.h"

LMFFItem::LMFFItem(std::unique_ptr<Data> data) : m_data(std::move(data)) {}

LMFFItem::~LMFFItem() = default;

bool LMFFItem::isPacket() const
{
    return m_data->packet != nullptr;
}

bool LMFFItem::isVideo() const
{
    return m_data->video;
}

bool LMFFItem::isKeyPacket() const
{
    if (m_data->packet) {
        return (m_data->packet->flags & AV_PKT_FLAG_KEY) != 0;
    }
    return true;
}

LMMediaTime LMFFItem::time() const
{
    return m_data->time;
}

void LMFFItem::set_movie_real_start_time(LMMediaTime offset)
{
    m_data->realStart = offset;
}

LMMediaTime LMFFItem::movieRealStartTime() const
{
    return m_data->realStart;
}
