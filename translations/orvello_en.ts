<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>app</name>
    <message>
        <source>查看版权所有者信息</source>
        <translation>About the copyright holder</translation>
    </message>
    <message>
        <source>关于 %1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>本软件可提取数码照片的EXIF信息并在照片上添加拍摄日期、自定义标题文字等。</source>
        <translation>This program shows the EXIF information of digital photos and stamps the capture date and a title of your own onto them.</translation>
    </message>
    <message>
        <source>欢迎访问我们的网站了解更多信息：</source>
        <translation>Visit our website to learn more: </translation>
    </message>
    <message>
        <source>的值过长（最多 %1 个字符）</source>
        <translation>has a value that is too long (at most %1 characters)</translation>
    </message>
    <message>
        <source>的值无法识别</source>
        <translation>has a value that cannot be read</translation>
    </message>
    <message>
        <source>的键名与读出的“%1”写法不同</source>
        <translation>has a key written differently from the “%1” it is read as</translation>
    </message>
    <message>
        <source>的组名与读出的“%1”写法不同</source>
        <translation>has a group name written differently from the “%1” it is read as</translation>
    </message>
    <message>
        <source>无法读取设置文件：%1（%2）</source>
        <translation>Cannot read the settings file: %1 (%2)</translation>
    </message>
    <message>
        <source>不是文件</source>
        <translation>not a file</translation>
    </message>
    <message>
        <source>设置文件过大：%1（%2 字节，最多 %3 字节）</source>
        <translation>The settings file is too large: %1 (%2 bytes, at most %3 bytes)</translation>
    </message>
    <message>
        <source>设置文件过大：%1</source>
        <translation>The settings file is too large: %1</translation>
    </message>
    <message>
        <source>设置文件 %1 第 %2 行%3：%4</source>
        <translation>Settings file %1, line %2 %3: %4</translation>
    </message>
    <message>
        <source>设置文件不是 UTF-8 文本：%1（第 %2 行）</source>
        <translation>The settings file is not UTF-8 text: %1 (line %2)</translation>
    </message>
    <message>
        <source>无法解析</source>
        <translation>cannot be parsed</translation>
    </message>
    <message>
        <source>设置文件 %1 有无法解析的行</source>
        <translation>Settings file %1 has a line that cannot be parsed</translation>
    </message>
    <message>
        <source>不是“键=值”</source>
        <translation>is not “key=value”</translation>
    </message>
    <message>
        <source>设置文件 %1 中键 %2 %3</source>
        <translation>In settings file %1, the key %2 %3</translation>
    </message>
</context>
<context>
    <name>cli</name>
    <message>
        <source>路径太长（超过 %1 字节），无法读取：%2</source>
        <translation>Path too long (over %1 bytes), cannot read: %2</translation>
    </message>
    <message>
        <source>文件夹中没有照片（%1）：%2</source>
        <translation>No photos in the folder (%1): %2</translation>
    </message>
    <message>
        <source>文件夹及其子文件夹中没有照片：%1</source>
        <translation>No photos in the folder or its subfolders: %1</translation>
    </message>
    <message>
        <source>无法读取文件列表：%1（%2）</source>
        <translation>Cannot read the file list: %1 (%2)</translation>
    </message>
    <message>
        <source>标准输入</source>
        <translation>standard input</translation>
    </message>
    <message>
        <source>用法：orvello-stamp exif [--title 文字] [--settings 文件] [--date-format 格式] [--date-shift 偏移] [--date-fallback none|file] 照片...
      orvello-stamp stamp [--title 文字] [--rotate left|right]... [--out 文件夹] [--overwrite|--skip-existing] [--settings 文件] [--recursive] [--jobs N] [--quiet]
             [--date-format 格式] [--date-shift 偏移] [--date-fallback none|file] [--date-style 样式] [--title-style 样式]
             [--quality N] [--keep-metadata] [--lossless|--reencode] [--no-restore-data] [--no-auto-orient] 照片|文件夹...
      orvello-stamp stamp [选项] --files-from 列表文件|- [--null]
      orvello-stamp unstamp [--out 文件夹] [--overwrite] 无损副本...
      orvello-stamp --help
</source>
        <translation>Usage: orvello-stamp exif [--title TEXT] [--settings FILE] [--date-format FORMAT] [--date-shift SHIFT] [--date-fallback none|file] PHOTO...
       orvello-stamp stamp [--title TEXT] [--rotate left|right]... [--out FOLDER] [--overwrite|--skip-existing] [--settings FILE] [--recursive] [--jobs N] [--quiet]
              [--date-format FORMAT] [--date-shift SHIFT] [--date-fallback none|file] [--date-style STYLE] [--title-style STYLE]
              [--quality N] [--keep-metadata] [--lossless|--reencode] [--no-restore-data] [--no-auto-orient] PHOTO|FOLDER...
       orvello-stamp stamp [OPTIONS] --files-from LISTFILE|- [--null]
       orvello-stamp unstamp [--out FOLDER] [--overwrite] LOSSLESS-COPY...
       orvello-stamp --help
</translation>
    </message>
</context>
<context>
    <name>components</name>
    <message>
        <source>%1 盒子无法读取</source>
        <translation>the %1 box cannot be read</translation>
    </message>
    <message>
        <source>找不到主图像</source>
        <translation>no primary image</translation>
    </message>
    <message>
        <source>图像 %1 的 HEVC 配置无法读取</source>
        <translation>the HEVC configuration of image %1 cannot be read</translation>
    </message>
    <message>
        <source>图像 %1 的 HEVC 参数集无法读取</source>
        <translation>the HEVC parameter sets of image %1 cannot be read</translation>
    </message>
    <message>
        <source>图像 %1 没有 HEVC 参数集</source>
        <translation>image %1 has no HEVC parameter sets</translation>
    </message>
    <message>
        <source>图像 %1 的拼接数据无法读取</source>
        <translation>the grid data of image %1 cannot be read</translation>
    </message>
    <message>
        <source>JPEG 编码失败（%1）</source>
        <translation>JPEG encoding failed (%1)</translation>
    </message>
    <message>
        <source>没有可保存的图像</source>
        <translation>There is no image to save</translation>
    </message>
    <message>
        <source>写入失败</source>
        <translation>Writing failed</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>磁盘已满</source>
        <translation>The disk is full</translation>
    </message>
</context>
<context>
    <name>imaging</name>
    <message>
        <source>内存不足，无法打开 %1 × %2 像素的图像</source>
        <translation>Not enough memory to open an image of %1 × %2 pixels</translation>
    </message>
    <message>
        <source>图像数据只有 %1 字节，容纳不下它声称的 %2 × %3 像素（至少需要 %4 字节）</source>
        <translation>The image data has only %1 bytes, too few for the %2 × %3 pixels it claims (at least %4 bytes are needed)</translation>
    </message>
    <message>
        <source>图像尺寸无效（%1 × %2 像素）</source>
        <translation>Invalid image size (%1 × %2 pixels)</translation>
    </message>
    <message>
        <source>图像过大（%1 × %2 像素），超过本软件可处理的 2 亿像素上限</source>
        <translation>The image is too large (%1 × %2 pixels): this program handles at most 200 million pixels</translation>
    </message>
    <message>
        <source>解码这幅 %1 × %2 像素的图像约需 %3 MB 内存，超过本软件的上限</source>
        <translation>Decoding this image of %1 × %2 pixels would take about %3 MB of memory, more than this program allows</translation>
    </message>
    <message>
        <source>HEIF 文件已损坏（%1）</source>
        <translation>The HEIF file is damaged (%1)</translation>
    </message>
    <message>
        <source>HEIF 文件已损坏：%1声称 %2 × %3 像素，而文件声明的尺寸只有 %4 × %5 像素</source>
        <translation>The HEIF file is damaged: the %1 claims %2 × %3 pixels, but the file declares only %4 × %5 pixels</translation>
    </message>
    <message>
        <source>图像数据</source>
        <translation>image data</translation>
    </message>
    <message>
        <source>拼接图像</source>
        <translation>grid image</translation>
    </message>
    <message>
        <source>HEIF 文件中的图像尺寸超过本软件的上限（%1）</source>
        <translation>The image size in the HEIF file exceeds this program&apos;s limit (%1)</translation>
    </message>
    <message>
        <source>不支持这种 HEIF 图像（%1）</source>
        <translation>This kind of HEIF image is not supported (%1)</translation>
    </message>
    <message>
        <source>HEIF 图像数据无法解码（%1）</source>
        <translation>The HEIF image data cannot be decoded (%1)</translation>
    </message>
    <message>
        <source>HEIF 图像数据无法解码（解码结果无效）</source>
        <translation>The HEIF image data cannot be decoded (the decoded result is invalid)</translation>
    </message>
    <message>
        <source>JPEG 图像数据无法解码（%1）</source>
        <translation>The JPEG image data cannot be decoded (%1)</translation>
    </message>
    <message>
        <source>JPEG 文件头已损坏（%1）</source>
        <translation>The JPEG file header is damaged (%1)</translation>
    </message>
    <message>
        <source>JPEG 解码器无法启动</source>
        <translation>The JPEG decoder cannot be started</translation>
    </message>
    <message>
        <source>超过 %1 次扫描</source>
        <translation>more than %1 scans</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>The file does not exist</translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation>Not a regular file</translation>
    </message>
    <message>
        <source>文件过大（超过 1 GB）</source>
        <translation>The file is too large (over 1 GB)</translation>
    </message>
    <message>
        <source>内存不足，无法读入文件</source>
        <translation>Not enough memory to read the file</translation>
    </message>
    <message>
        <source>文件无法读取（%1）</source>
        <translation>The file cannot be read (%1)</translation>
    </message>
    <message>
        <source>文件是空的</source>
        <translation>The file is empty</translation>
    </message>
    <message>
        <source>内存不足，无法解码图像</source>
        <translation>Not enough memory to decode the image</translation>
    </message>
    <message>
        <source>不是 JPEG、TIFF 或 HEIF 图像</source>
        <translation>Not a JPEG, TIFF or HEIF image</translation>
    </message>
    <message>
        <source>文件夹不存在：%1</source>
        <translation>The folder does not exist: %1</translation>
    </message>
    <message>
        <source>“%1”不是文件夹</source>
        <translation>“%1” is not a folder</translation>
    </message>
    <message>
        <source>“%1”是一个文件夹</source>
        <translation>“%1” is a folder</translation>
    </message>
    <message>
        <source>没有写入权限：%1</source>
        <translation>No permission to write: %1</translation>
    </message>
    <message>
        <source>磁盘为只读：%1</source>
        <translation>The disk is read-only: %1</translation>
    </message>
    <message>
        <source>磁盘空间不足：%1</source>
        <translation>Not enough disk space: %1</translation>
    </message>
    <message>
        <source>写入失败</source>
        <translation>Writing failed</translation>
    </message>
    <message>
        <source>存储失败！
</source>
        <translation>Saving failed!
</translation>
    </message>
    <message>
        <source>TIFF 文件头已损坏（%1）</source>
        <translation>The TIFF file header is damaged (%1)</translation>
    </message>
    <message>
        <source>不支持这种 TIFF 图像（压缩方式 %1）</source>
        <translation>This kind of TIFF image is not supported (compression %1)</translation>
    </message>
    <message>
        <source>不支持这种 TIFF 图像（%1）</source>
        <translation>This kind of TIFF image is not supported (%1)</translation>
    </message>
</context>
<context>
    <name>overlay</name>
    <message>
        <source>标题中的“%1”没有配对的花括号：花括号本身请写作 {{ 或 }}</source>
        <translation>The “%1” in the title has no matching brace: write a brace itself as {{ or }}</translation>
    </message>
    <message>
        <source>日期和时间（默认）</source>
        <translation>Date and time (default)</translation>
    </message>
    <message>
        <source>仅日期</source>
        <translation>Date only</translation>
    </message>
    <message>
        <source>仅时间</source>
        <translation>Time only</translation>
    </message>
    <message>
        <source>胶片相机（&apos;yy MM dd）</source>
        <translation>Film camera (&apos;yy MM dd)</translation>
    </message>
    <message>
        <source>日.月.年</source>
        <translation>Day.Month.Year</translation>
    </message>
    <message>
        <source>月/日/年</source>
        <translation>Month/Day/Year</translation>
    </message>
    <message>
        <source>中文日期</source>
        <translation>Chinese date</translation>
    </message>
    <message>
        <source>日期和 12 小时制时间</source>
        <translation>Date and 12-hour time</translation>
    </message>
    <message>
        <source>日期格式不能为空</source>
        <translation>The date format cannot be empty</translation>
    </message>
    <message>
        <source>日期格式过长（最多 %1 个字符）</source>
        <translation>The date format is too long (at most %1 characters)</translation>
    </message>
    <message>
        <source>日期格式中的引号没有配对：文字请写在一对单引号中，单引号本身写作 &apos;&apos;</source>
        <translation>A quote in the date format has no match: put text between a pair of single quotes, and write a single quote itself as &apos;&apos;</translation>
    </message>
    <message>
        <source>日期格式不能含时区（t）：照片记录的拍摄时间不带时区</source>
        <translation>The date format cannot contain a time zone (t): the capture time a photo records has no time zone</translation>
    </message>
    <message>
        <source>日期格式中的“%1”不是日期或时间字段：文字请写在单引号中，如 &apos;T&apos;</source>
        <translation>“%1” in the date format is not a date or time field: put text in single quotes, such as &apos;T&apos;</translation>
    </message>
    <message>
        <source>日期格式中没有日期或时间字段</source>
        <translation>The date format has no date or time field</translation>
    </message>
    <message>
        <source>时间偏移“%1”的格式不对：应为 [+|-][天 ]时:分[:秒]，例如 +1:30 或 -1 2:00</source>
        <translation>The time shift “%1” is not written correctly: it should be [+|-][days ]hours:minutes[:seconds], for example +1:30 or -1 2:00</translation>
    </message>
    <message>
        <source>时间偏移的小时须在 0 到 23 之间：整天请写在前面，如 +1 12:00</source>
        <translation>The time shift&apos;s hours must be between 0 and 23: write whole days in front, such as +1 12:00</translation>
    </message>
    <message>
        <source>时间偏移的分和秒须在 0 到 59 之间</source>
        <translation>The time shift&apos;s minutes and seconds must be between 0 and 59</translation>
    </message>
    <message>
        <source>标题中没有“{%1}”这个字段：可用的字段有 {Make} {Model} {LensModel} {FNumber} {ExposureTime} {ISO} {FocalLength} {FileName} {Date} {Date:格式}</source>
        <translation>The title has no field “{%1}”: the fields are {Make} {Model} {LensModel} {FNumber} {ExposureTime} {ISO} {FocalLength} {FileName} {Date} {Date:format}</translation>
    </message>
</context>
<context>
    <name>photo</name>
    <message>
        <source>……（另有 %1 项未列出：信息超过 %2 MB）</source>
        <translation>… (%1 more items not listed: the information exceeds %2 MB)</translation>
    </message>
    <message>
        <source>当前文件EXIF信息：</source>
        <translation>EXIF information of the current file:</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>not enough memory</translation>
    </message>
    <message>
        <source>无法打开照片文件“%1”：%2。</source>
        <translation>Cannot open the photo file “%1”: %2.</translation>
    </message>
    <message>
        <source>照片文件“%1”不完整或已损坏，缺失的部分无法显示。</source>
        <translation>The photo file “%1” is incomplete or damaged; the missing part cannot be shown.</translation>
    </message>
</context>
<context>
    <name>ui</name>
    <message>
        <source>未发现所需要的字体文件，请重新安装本软件！</source>
        <translation>The required font files were not found. Please reinstall this program!</translation>
    </message>
    <message>
        <source>你确定要关闭并结束程序吗？</source>
        <translation>Are you sure you want to close the program?</translation>
    </message>
    <message>
        <source>全部保存…</source>
        <translation>Save all…</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>标题最多 %1 个字符，多出的未收入</source>
        <translation>A title holds at most %1 characters; the rest was left out</translation>
    </message>
    <message>
        <source>
拍摄日期：%1
%2</source>
        <translation>
Capture date: %1
%2</translation>
    </message>
    <message>
        <source>普通</source>
        <translation>Plain</translation>
    </message>
    <message>
        <source>描边</source>
        <translation>Outline</translation>
    </message>
    <message>
        <source>阴影</source>
        <translation>Shadow</translation>
    </message>
    <message>
        <source>衬底</source>
        <translation>Backing</translation>
    </message>
    <message>
        <source>日期格式</source>
        <translation>Date format</translation>
    </message>
    <message>
        <source>时间偏移…</source>
        <translation>Time shift…</translation>
    </message>
    <message>
        <source>无拍摄日期时用文件修改时间</source>
        <translation>Use the file&apos;s modified time when there is no capture date</translation>
    </message>
    <message>
        <source>日期样式</source>
        <translation>Date style</translation>
    </message>
    <message>
        <source>标题样式</source>
        <translation>Title style</translation>
    </message>
    <message>
        <source>胶片相机的橙色</source>
        <translation>Film camera orange</translation>
    </message>
    <message>
        <source>时间偏移（%1）…</source>
        <translation>Time shift (%1)…</translation>
    </message>
    <message>
        <source>时间偏移</source>
        <translation>Time shift</translation>
    </message>
    <message>
        <source>相机时钟不准时，拍摄时间要移动多少：[+|-][天 ]时:分[:秒]
例如 +1:30 或 -1 2:00（减一天两小时）；留空为不移动。</source>
        <translation>If the camera&apos;s clock was wrong, how far to move the capture time: [+|-][days ]hours:minutes[:seconds]
For example +1:30 or -1 2:00 (one day and two hours back); leave empty for no shift.</translation>
    </message>
    <message>
        <source>“%1”不是时间偏移：写法为 [+|-][天 ]时:分[:秒]</source>
        <translation>“%1” is not a time shift: write it as [+|-][days ]hours:minutes[:seconds]</translation>
    </message>
</context>
</TS>
