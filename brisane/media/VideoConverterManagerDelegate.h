#pragma once
// What a VideoConverterManager tells the object that follows it.

class VideoConverterManagerDelegate {
public:
    virtual ~VideoConverterManagerDelegate() = default;
    virtual void convertersDidFinished() {}
};
