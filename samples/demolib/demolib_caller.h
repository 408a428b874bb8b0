// The main program that libimport and libbind share. They differ only in their
// texts and in how the three routines of demolib are bound: Library gives
// Bind (run after the title is assigned) and the three calls.
#pragma once

#include "console/console.h"
#include "core/numbers.h"
#include "demolib.h"

struct DemolibCallerTexts {
  tessaric::StringValue title;
  tessaric::StringValue boxComing;
  tessaric::StringValue sendingArguments;
  tessaric::StringValue returnValue;
};

template <typename Library>
int CallDemolib(const DemolibCallerTexts& texts) {
  using namespace tessaric;
  static StringDescriptor Title = {};
  static int32_t First = 0;
  static int32_t Second = 0;
  static int32_t Third = 0;
  static int32_t Value = 0;

  StrAlloc(&Title, kVariableSize);
  StrAssign(texts.title, &Title);
  Library::Bind();
  ConsoleSetTitle(Title.text);
  ConsoleWrite(ValueOf(Title));
  ConsoleNewLine();
  ConsoleWrite(texts.boxComing);
  ConsoleNewLine();
  Library::HelloFromDll();
  ConsoleWrite(texts.sendingArguments);
  ConsoleNewLine();
  First = 5;
  Second = 10;
  Third = 20;
  Library::ArgsToDll(First, Second, Third);
  Value = Library::ValueFromDll();
  ConsoleWrite(texts.returnValue);
  ConsoleWrite(SignedText(Value));
  ConsoleNewLine();
  ConsoleWaitKey();
  return 0;
}
