{ Converts a component stream between its binary and its text form, as an
  independent reference for the component stream tests.
    fpcstream totext <binary> <text>
    fpcstream tobinary <text> <binary>
  Exit code 0 on success, 1 when the input is refused (the message goes to
  standard error), 2 on wrong usage. }
program fpcstream;

{$mode objfpc}{$H+}

uses
  Classes, SysUtils;

var
  Src, Dst: TFileStream;

begin
  if (ParamCount <> 3) or ((ParamStr(1) <> 'totext') and (ParamStr(1) <> 'tobinary')) then
  begin
    WriteLn(StdErr, 'usage: fpcstream totext|tobinary <input> <output>');
    Halt(2);
  end;
  try
    Src := TFileStream.Create(ParamStr(2), fmOpenRead or fmShareDenyNone);
    try
      Dst := TFileStream.Create(ParamStr(3), fmCreate);
      try
        if ParamStr(1) = 'totext' then
          ObjectBinaryToText(Src, Dst)
        else
          ObjectTextToBinary(Src, Dst);
      finally
        Dst.Free;
      end;
    finally
      Src.Free;
    end;
  except
    on E: Exception do
    begin
      WriteLn(StdErr, E.ClassName, ': ', E.Message);
      Halt(1);
    end;
  end;
end.
