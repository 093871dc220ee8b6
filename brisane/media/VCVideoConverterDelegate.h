#pragma once
// What a conversion job tells the object that follows it. Every operation is
// optional. converterDidFinished runs once per run, on the main thread.

class VCVideoConverter;

class VCVideoConverterDelegate {
public:
    virtual ~VCVideoConverterDelegate() = default;
    virtual void converterDidPaused(VCVideoConverter* converter) {}
    virtual void converterDidResume(VCVideoConverter* converter) {}
    virtual void converterDidFinished(VCVideoConverter* converter) {}
};
