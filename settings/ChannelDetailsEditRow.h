#pragma once

#include "core/ChannelDetailsRow.h"

// One shown row of the channel details screen as edited: the model row's texts and the
// row's check box.
struct ChannelDetailsEditRow : ChannelDetailsRow
{
    bool selected = false;
};
